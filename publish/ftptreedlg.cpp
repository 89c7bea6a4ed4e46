// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftptreedlg.h"

#include <algorithm>

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QTreeWidget>

#include "controls/imagebutton.h"
#include "controls/myprogressctl.h"
#include "controls/progressdlg.h"
#include "controls/skinhooks.h"
#include "platform/stringtable.h"
#include "publish/createftpfolder.h"

namespace
{

constexpr int AddressPicture = 259;  // "ftpaddress.gif"
constexpr int LoginPicture = 255;    // "ftplogin.gif"
constexpr int PasswordPicture = 256; // "ftppwd.gif"
constexpr int ConnectPicture = 254;  // "ftpconnect.gif"
constexpr int AnonymousPicture = 214; // "anonymous.gif"
constexpr int SavePasswordPicture = 213; // "savepwd.gif"
constexpr int CreatePicture = 249;   // "create_fold.gif"
constexpr int RemovePicture = 248;   // "remove_fold.gif"
constexpr int TransferPicture = 250; // "transfer.gif"
constexpr int HelpPicture = 271;     // "ftphelp.gif"
constexpr int DonePicture = 253;     // "ftpclose.gif"
constexpr int CancelPicture = 188;   // the progress window's "cancel.gif"

// The placeholder that gives a folder not yet listed its expand button.
const QString Placeholder = QStringLiteral("dummy");

constexpr int Margin = 10;
constexpr int Gap = 8;
constexpr int FieldHeight = 24;

RemoteFolderNode* nodeOf(const QTreeWidgetItem* item)
{
    if (item == nullptr)
        return nullptr;
    return reinterpret_cast<RemoteFolderNode*>(item->data(0, Qt::UserRole).value<quintptr>());
}

} // namespace

CFTPTREEDlg::CFTPTREEDlg(Settings& settings, Prompter& prompter, SecretStore* secrets,
                         Services services, QWidget* parent)
    : CMyDlg(parent), m_services(std::move(services)), m_address(new QComboBox(this)),
      m_login(new QLineEdit(this)), m_password(new QLineEdit(this)),
      m_tree(new QTreeWidget(this)),
      m_addressLabel(makeLabel(IDC_ADDRESS_LABEL, AddressPicture, IDS_FTP_ADDRESS)),
      m_loginLabel(makeLabel(IDC_LOGIN_LABEL, LoginPicture, IDS_FTP_LOGIN)),
      m_passwordLabel(makeLabel(IDC_PASSWORD_LABEL, PasswordPicture, IDS_FTP_PASSWORD)),
      m_connect(makeButton(IDC_CONNECT, ConnectPicture, IDS_FTP_CONNECT)),
      m_anonymous(makeButton(IDC_ANONYMOUS, AnonymousPicture, IDS_FTP_ANONYMOUS, true)),
      m_savePassword(makeButton(IDC_SAVE_PASSWORD, SavePasswordPicture, IDS_FTP_SAVE_PASSWORD,
                                true)),
      m_create(makeButton(IDC_CREATE_FOLDER, CreatePicture, IDS_FTP_CREATE_FOLDER)),
      m_remove(makeButton(IDC_REMOVE_FOLDER, RemovePicture, IDS_FTP_REMOVE_FOLDER)),
      m_transfer(makeButton(IDC_TRANSFER, TransferPicture, IDS_FTP_TRANSFER)),
      m_help(makeButton(IDC_HELP, HelpPicture, IDS_FTP_HELP)),
      m_done(makeButton(IDC_DONE, DonePicture, IDS_DONE))
{
    setWindowTitle(loadString(IDS_PUBLISH_TITLE));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromColorRef(SkinHooks::colour(0)));
    setPalette(colours);
    setAutoFillBackground(true);

    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setAccessibleName(loadString(IDS_FTP_ADDRESS));
    m_address->setToolTip(loadString(IDS_FTP_ADDRESS_TIP));
    m_login->setAccessibleName(loadString(IDS_FTP_LOGIN));
    m_password->setAccessibleName(loadString(IDS_FTP_PASSWORD));
    m_password->setEchoMode(QLineEdit::Password);
    m_anonymous->setToolTip(loadString(IDS_ANONYMOUS_TIP));
    m_savePassword->setToolTip(loadString(IDS_SAVE_PASSWORD_TIP));
    m_tree->setHeaderHidden(true);
    m_tree->setAccessibleName(loadString(IDS_NAME_FTP_TREE));
    m_addressLabel->setBuddy(m_address);
    m_loginLabel->setBuddy(m_login);
    m_passwordLabel->setBuddy(m_password);

    PublishHooks hooks;
    hooks.askFolderName = [this] { return askFolderName(); };
    hooks.showProgress = [this] { return showProgress(); };
    hooks.openFile = m_services.openFile;
    hooks.pump = [this] { return pump(); };
    hooks.changed = [this] { updateControls(); };
    m_logic = std::make_unique<FtpTreeLogic>(settings, prompter, std::move(hooks), secrets,
                                             m_services.logPath);
    wire();
    m_logic->Open();
    showSites();
    showFields();
    showTree();
    setMinimumSize(500, 380);
    resize(580, 440);
    m_address->setFocus();
}

CFTPTREEDlg::~CFTPTREEDlg() = default;

CImageButton* CFTPTREEDlg::makeButton(int id, int picture, int captionId, bool check)
{
    auto* button = new CImageButton(this, id);
    const QString caption = loadString(captionId);
    button->setText(caption);
    button->SetImage(picture, 2);
    button->setCheckStyle(check);
    button->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    button->setObjectName(QStringLiteral("control%1").arg(id));
    return button;
}

QLabel* CFTPTREEDlg::makeLabel(int id, int picture, int captionId)
{
    auto* label = new QLabel(this);
    const QImage image = SkinHooks::picture(picture);
    if (image.isNull())
        label->setText(loadString(captionId));
    else
        label->setPixmap(QPixmap::fromImage(image));
    label->setAccessibleName(loadString(captionId));
    label->setObjectName(QStringLiteral("control%1").arg(id));
    return label;
}

void CFTPTREEDlg::wire()
{
    connect(m_address, &QComboBox::activated, this, &CFTPTREEDlg::onSiteChosen);
    connect(m_connect, &QAbstractButton::clicked, this, [this] {
        readFields();
        m_logic->Connect();
        showSites();
        showFields();
        showTree();
    });
    auto toggled = [this] {
        readFields();
        updateControls();
    };
    connect(m_anonymous, &QAbstractButton::clicked, this, toggled);
    connect(m_savePassword, &QAbstractButton::clicked, this, toggled);
    connect(m_tree, &QTreeWidget::itemExpanded, this, &CFTPTREEDlg::onExpanded);
    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { onCurrentChanged(item); });
    auto treeCommand = [this](bool (FtpTreeLogic::*command)()) {
        return [this, command] {
            (m_logic.get()->*command)();
            showTree();
        };
    };
    connect(m_create, &QAbstractButton::clicked, this, treeCommand(&FtpTreeLogic::CreateFolder));
    connect(m_remove, &QAbstractButton::clicked, this, treeCommand(&FtpTreeLogic::RemoveFolder));
    connect(m_transfer, &QAbstractButton::clicked, this, treeCommand(&FtpTreeLogic::Transfer));
    connect(m_help, &QAbstractButton::clicked, this, [this] {
        if (m_services.showHelp)
            m_services.showHelp(QString::fromLatin1(HelpTopic));
    });
    connect(m_done, &QAbstractButton::clicked, this, &CFTPTREEDlg::reject);
}

void CFTPTREEDlg::SetLocalFolder(const QString& folder)
{
    m_logic->SetLocalFolder(folder);
}

QWidget* CFTPTREEDlg::Control(int id) const
{
    switch (id) {
    case IDC_ADDRESS: return m_address;
    case IDC_LOGIN: return m_login;
    case IDC_PASSWORD: return m_password;
    case IDC_TREE: return m_tree;
    default: return findChild<QWidget*>(QStringLiteral("control%1").arg(id));
    }
}

void CFTPTREEDlg::showSites()
{
    m_filling = true;
    const QString typed = m_address->currentText();
    m_address->clear();
    for (const SiteEntry& site : m_logic->Sites())
        m_address->addItem(site.server);
    m_address->setCurrentIndex(-1);
    m_address->setEditText(typed);
    m_filling = false;
}

void CFTPTREEDlg::showFields()
{
    m_filling = true;
    const FtpTreeLogic::Fields& fields = m_logic->GetFields();
    const int index = m_address->findText(fields.address);
    m_address->setCurrentIndex(index);
    m_address->setEditText(fields.address);
    m_login->setText(fields.login);
    m_password->setText(fields.password);
    m_anonymous->SetCheck(fields.anonymous ? 1 : 0);
    m_savePassword->SetCheck(fields.savePassword ? 1 : 0);
    m_filling = false;
    updateControls();
}

void CFTPTREEDlg::readFields()
{
    FtpTreeLogic::Fields& fields = m_logic->GetFields();
    fields.address = m_address->currentText().trimmed();
    fields.login = m_login->text();
    fields.password = m_password->text();
    fields.anonymous = m_anonymous->GetCheck() != 0;
    fields.savePassword = m_savePassword->GetCheck() != 0;
}

void CFTPTREEDlg::onSiteChosen(int index)
{
    if (m_filling)
        return;
    m_logic->SelectSite(index);
    showFields();
    showTree();
}

void CFTPTREEDlg::showTree()
{
    m_filling = true;
    m_tree->clear();
    RemoteFolderNode* root = m_logic->Root();
    if (root == nullptr) {
        auto* item = new QTreeWidgetItem(m_tree, {loadString(IDS_NOT_CONNECTED)});
        item->setFlags(Qt::ItemIsEnabled);
    } else {
        auto* item = new QTreeWidgetItem(m_tree);
        fillItem(*item, *root);
    }
    m_filling = false;
    updateControls();
}

void CFTPTREEDlg::fillItem(QTreeWidgetItem& item, RemoteFolderNode& node)
{
    item.setText(0, node.name);
    item.setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(&node)));
    qDeleteAll(item.takeChildren());
    if (!node.listed) {
        new QTreeWidgetItem(&item, {Placeholder});
    } else {
        for (const auto& child : node.children)
            fillItem(*new QTreeWidgetItem(&item), *child);
        item.setExpanded(!node.children.empty());
    }
    if (&node == m_logic->Selected())
        m_tree->setCurrentItem(&item);
}

void CFTPTREEDlg::onExpanded(QTreeWidgetItem* item)
{
    RemoteFolderNode* node = nodeOf(item);
    if (m_filling || node == nullptr || node->listed)
        return;
    m_logic->Expand(*node);
    m_filling = true;
    fillItem(*item, *node);
    m_filling = false;
    updateControls();
}

void CFTPTREEDlg::onCurrentChanged(QTreeWidgetItem* item)
{
    if (m_filling)
        return;
    m_logic->Select(nodeOf(item));
    updateControls();
}

void CFTPTREEDlg::updateControls()
{
    const bool busy = m_logic->IsBusy();
    const bool loginEnabled = m_anonymous->GetCheck() == 0;
    m_login->setEnabled(loginEnabled && !busy);
    m_password->setEnabled(loginEnabled && !busy);
    m_savePassword->setEnabled(loginEnabled && !busy);
    for (QWidget* control : {static_cast<QWidget*>(m_address), static_cast<QWidget*>(m_connect),
                             static_cast<QWidget*>(m_anonymous), static_cast<QWidget*>(m_tree),
                             static_cast<QWidget*>(m_done), static_cast<QWidget*>(m_help)})
        control->setEnabled(!busy);
    m_transfer->setEnabled(m_logic->CanTransfer());
    m_create->setEnabled(m_logic->CanCreateFolder());
    m_remove->setEnabled(m_logic->CanRemoveFolder());
}

bool CFTPTREEDlg::pump()
{
    // The buttons are disabled while the logic is busy, so nothing starts a second operation.
    QCoreApplication::processEvents();
    return true;
}

std::unique_ptr<Progress> CFTPTREEDlg::showProgress()
{
    auto dialog = std::make_unique<CProgressDlg>(SkinHooks::picture(CancelPicture),
                                                 SkinHooks::colour(0), this);
    dialog->setWindowModality(Qt::ApplicationModal);
    dialog->show();
    return dialog;
}

std::optional<QString> CFTPTREEDlg::askFolderName()
{
    CCreateFTPFolder dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.Name();
}

void CFTPTREEDlg::reject()
{
    if (m_logic->IsBusy())
        return;
    readFields();
    m_logic->Done();
    CMyDlg::reject();
}

void CFTPTREEDlg::closeEvent(QCloseEvent* event)
{
    if (m_logic->IsBusy()) {
        event->ignore();
        return;
    }
    CMyDlg::closeEvent(event);
}

void CFTPTREEDlg::resizeEvent(QResizeEvent* event)
{
    CMyDlg::resizeEvent(event);
    placeControls();
}

void CFTPTREEDlg::placeControls()
{
    const int w = width();
    const int h = height();
    // Captions on the left, the check buttons and the folder buttons in a right column.
    const int labelWidth = std::max({m_addressLabel->sizeHint().width(),
                                     m_loginLabel->sizeHint().width(),
                                     m_passwordLabel->sizeHint().width()});
    const int fieldLeft = Margin + labelWidth + Gap;
    int column = 0;
    for (CImageButton* button : {m_connect, m_anonymous, m_savePassword, m_create, m_remove,
                                 m_transfer})
        column = std::max(column, button->sizeHint().width());
    const int columnLeft = w - Margin - column;
    const int fieldWidth = columnLeft - Gap - fieldLeft;
    auto row = [&](QLabel* label, QWidget* field, CImageButton* button, int y) {
        const QSize caption = label->sizeHint();
        label->setGeometry(Margin, y + (FieldHeight - caption.height()) / 2, labelWidth,
                           caption.height());
        field->setGeometry(fieldLeft, y, fieldWidth, FieldHeight);
        const QSize size = button->sizeHint();
        button->setGeometry(columnLeft, y + (FieldHeight - size.height()) / 2, size.width(),
                            size.height());
    };
    row(m_addressLabel, m_address, m_connect, Margin);
    row(m_loginLabel, m_login, m_anonymous, Margin + FieldHeight + Gap);
    row(m_passwordLabel, m_password, m_savePassword, Margin + 2 * (FieldHeight + Gap));

    const int treeTop = Margin + 3 * (FieldHeight + Gap) + Gap;
    const int bottomHeight = std::max(m_done->sizeHint().height(), m_help->sizeHint().height());
    const int bottomTop = h - Margin - bottomHeight;
    m_tree->setGeometry(Margin, treeTop, columnLeft - Gap - Margin, bottomTop - Gap - treeTop);
    int y = treeTop;
    for (CImageButton* button : {m_create, m_remove, m_transfer}) {
        button->setGeometry(QRect(QPoint(columnLeft, y), button->sizeHint()));
        y += button->sizeHint().height() + Gap;
    }
    const QSize help = m_help->sizeHint();
    m_help->setGeometry(Margin, bottomTop + (bottomHeight - help.height()) / 2, help.width(),
                        help.height());
    const QSize done = m_done->sizeHint();
    m_done->setGeometry(w - Margin - done.width(), bottomTop + (bottomHeight - done.height()) / 2,
                        done.width(), done.height());
}
