// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumprop.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/imagebutton.h"
#include "controls/skinhooks.h"
#include "platform/stringtable.h"
#include "shell/skin.h"

namespace
{

constexpr int DonePicture = 228; // "done.gif"

QString text(const gv_string& value)
{
    return QString::fromUtf8(value.c_str());
}

} // namespace

CAlbumProp::CAlbumProp(Skin& skin, const AlbumSummary& summary, QWidget* parent) : CMyDlg(parent)
{
    setWindowTitle(loadString(IDS_ALBUM_PROPERTIES_TITLE));
    QPalette colours = palette();
    colours.setColor(QPalette::Window,
                     colorFromRef(static_cast<uint32_t>(skin.GetSkinColor(SKIN_BACKGROUND))));
    colours.setColor(QPalette::WindowText,
                     colorFromRef(static_cast<uint32_t>(skin.GetSkinColor(SKIN_TEXT))));
    setPalette(colours);
    setAutoFillBackground(true);

    auto* grid = new QGridLayout(this);
    addValue(*grid, IDS_PROP_ALBUM_NAME, text(summary.albumName));
    addValue(*grid, IDS_PROP_THEME, text(summary.templateName));
    addValue(*grid, IDS_PROP_PLUGIN, text(summary.pluginName));
    addValue(*grid, IDS_PROP_IMAGE_COUNT, QString::number(summary.imageCount));
    addValue(*grid, IDS_PROP_FAVORITES, text(summary.favoritesName));
    addEdit(*grid, IDS_PROP_PATH, text(summary.destination));
    addEdit(*grid, IDS_PROP_SETTINGS_FILE, text(summary.projectPath));

    const QImage strip = skin.LoadSkinPicture(DonePicture);
    if (!strip.isNull())
        m_done = new CImageButton(strip, 3, this, 1);
    else
        m_done = new QPushButton(loadString(IDS_DONE), this);
    m_done->setAccessibleName(loadString(IDS_DONE));
    connect(m_done, &QAbstractButton::clicked, this, &QDialog::accept);
    grid->addWidget(m_done, grid->rowCount(), 1, Qt::AlignRight);
    grid->setColumnMinimumWidth(1, 320);
}

QString CAlbumProp::Shown(const QString& value)
{
    return value.isEmpty() ? loadString(IDS_PROP_NOT_AVAILABLE) : value;
}

void CAlbumProp::addValue(QGridLayout& grid, int textId, const QString& value)
{
    const int row = grid.rowCount();
    auto* caption = new QLabel(loadString(textId), this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* shown = new QLabel(Shown(value), this);
    shown->setObjectName(loadString(textId));
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid.addWidget(caption, row, 0);
    grid.addWidget(shown, row, 1);
}

void CAlbumProp::addEdit(QGridLayout& grid, int textId, const QString& value)
{
    const int row = grid.rowCount();
    auto* caption = new QLabel(loadString(textId), this);
    caption->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* edit = new QLineEdit(value, this);
    edit->setObjectName(loadString(textId));
    edit->setReadOnly(true);
    caption->setBuddy(edit);
    grid.addWidget(caption, row, 0);
    grid.addWidget(edit, row, 1);
}
