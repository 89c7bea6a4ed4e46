// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/telmplatesel.h"

#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>

#include "controls/imagebutton.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/helpcommands.h"
#include "shell/mypropertysheet.h"
#include "shell/themeicons.h"

namespace
{

constexpr int DownloadPicture = 283; // "download.gif"
constexpr int DownloadId = 1101;
constexpr int IndexRole = Qt::UserRole;

bool isPluginItem(const QTreeWidgetItem* item)
{
    return item != nullptr && item->parent() == nullptr;
}

int32_t itemNumber(const QTreeWidgetItem* item)
{
    return item == nullptr ? -1 : item->data(0, IndexRole).toInt();
}

} // namespace

CTelmplateSel::CTelmplateSel(CGVApp& app, const HelpCommands& help, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_help(help), m_choice(app.Album(), app.Host()),
      m_tree(new QTreeWidget(this)), m_preview(new QLabel(this))
{
    m_tree->setHeaderHidden(true);
    m_tree->setIconSize(QSize(IconSide, IconSide));
    m_tree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_tree->setExpandsOnDoubleClick(false);
    m_preview->setAlignment(Qt::AlignCenter);
    m_tree->setAccessibleName(loadString(IDS_NAME_THEME_TREE));
    m_preview->setAccessibleName(loadString(IDS_NAME_THEME_PREVIEW));
    const QImage strip = app.GetSkin().LoadSkinPicture(DownloadPicture);
    if (!strip.isNull())
        m_download = new CImageButton(strip, 2, this, DownloadId, true);
    else
        m_download = new QPushButton(loadString(IDS_DOWNLOAD_THEMES), this);
    m_download->setToolTip(loadString(IDS_DOWNLOAD_THEMES_TIP));
    m_download->setAccessibleName(loadString(IDS_DOWNLOAD_THEMES));
    connect(m_download, &QAbstractButton::clicked, this, [this] { m_help.ShowThemesPage(); });
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this] { selectionChanged(); });
    connect(m_tree, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { itemDoubleClicked(item); });
    connect(m_tree, &QTreeWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { showContextMenu(position); });
}

void CTelmplateSel::OnInitDialog()
{
    fillTree();
}

void CTelmplateSel::PlaceControls()
{
    // A larger page shares its extra width between the tree and the preview.
    const int dx = Extra().width(), dy = Extra().height();
    m_tree->setGeometry(24, 96, 250 + dx / 2, 320 + dy);
    m_preview->setGeometry(292 + dx / 2, 96, 280 + dx - dx / 2, 320 + dy);
    m_download->move(24, 428 + dy);
}

void CTelmplateSel::fillTree()
{
    m_filling = true;
    m_tree->clear();
    for (const ThemePlugin& plugin : m_choice.Tree()) {
        auto* top = new QTreeWidgetItem(m_tree, {plugin.displayName});
        top->setData(0, IndexRole, plugin.index);
        top->setIcon(0, themeicons::plugin());
        for (const ThemeTemplate& theme : plugin.templates) {
            auto* item = new QTreeWidgetItem(top, {theme.name});
            item->setData(0, IndexRole, theme.id);
            item->setIcon(0, themeicons::theme());
        }
        top->setExpanded(true);
    }
    m_filling = false;
}

bool CTelmplateSel::SelectTemplate(int32_t pluginIndex, int32_t templateId)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = m_tree->topLevelItem(i);
        if (itemNumber(top) != pluginIndex)
            continue;
        for (int t = 0; t < top->childCount(); ++t) {
            if (itemNumber(top->child(t)) == templateId) {
                m_tree->setCurrentItem(top->child(t));
                return true;
            }
        }
    }
    return false;
}

bool CTelmplateSel::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    const AlbumProject& album = m_app.Album();
    if (album.PluginIndex() >= 0 && album.TemplateId() >= 0 &&
        SelectTemplate(album.PluginIndex(), album.TemplateId()))
        return true;
    fillTree();
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        if (m_tree->topLevelItem(i)->childCount() > 0) {
            m_tree->setCurrentItem(m_tree->topLevelItem(i)->child(0));
            break;
        }
    }
    return true;
}

bool CTelmplateSel::OnKillActive()
{
    m_choice.EndPreviews();
    return true;
}

void CTelmplateSel::selectionChanged()
{
    if (m_filling)
        return;
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return;
    // A plug-in is no choice yet: the album keeps its template, and the values the user
    // gave it, until Next takes another template.
    if (isPluginItem(item))
        return;
    const QString picture = m_choice.Preview(itemNumber(item->parent()), itemNumber(item));
    const QPixmap pixmap(picture);
    if (picture.isEmpty() || pixmap.isNull())
        return; // no preview: the area keeps what it showed
    m_preview->setPixmap(
        pixmap.scaled(m_preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

int CTelmplateSel::OnWizardNext()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    const bool theme = item != nullptr && !isPluginItem(item);
    const int32_t plugin = theme ? itemNumber(item->parent()) : itemNumber(item);
    const int32_t templateId = theme ? itemNumber(item) : -1;
    if (m_choice.Next(plugin, templateId, m_app.GetPrompter()) ==
        ThemeChoice::NextResult::NeedTheme)
        return Stay;
    return Default;
}

int CTelmplateSel::OnWizardBack()
{
    return m_choice.BackTarget();
}

void CTelmplateSel::itemDoubleClicked(QTreeWidgetItem*)
{
    Sheet()->Navigator().Next();
}

void CTelmplateSel::showContextMenu(const QPoint& position)
{
    QMenu menu(this);
    connect(menu.addAction(loadString(IDS_INSTALL_THEME)), &QAction::triggered, this,
            [this] { OnInstall(); });
    QAction* uninstall = menu.addAction(loadString(IDS_UNINSTALL_THEME));
    uninstall->setEnabled(m_tree->currentItem() != nullptr && !isPluginItem(m_tree->currentItem()));
    connect(uninstall, &QAction::triggered, this, [this] { OnUninstall(); });
    menu.exec(m_tree->viewport()->mapToGlobal(position));
}

void CTelmplateSel::OnInstall()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr)
        return;
    const int32_t plugin = isPluginItem(item) ? itemNumber(item) : itemNumber(item->parent());
    // Drive letters mean nothing here: without a stored folder the user's home is offered.
    const QString folder = m_app.GetSettings().getString(
        QStringLiteral("Paths"), QStringLiteral("TemplatePath"), QDir::homePath());
    if (m_choice.Install(plugin, folder))
        fillTree();
}

void CTelmplateSel::OnUninstall()
{
    QTreeWidgetItem* item = m_tree->currentItem();
    if (item == nullptr || isPluginItem(item))
        return;
    if (m_choice.Uninstall(itemNumber(item->parent()), itemNumber(item), item->text(0),
                           m_app.GetPrompter()))
        fillTree();
}
