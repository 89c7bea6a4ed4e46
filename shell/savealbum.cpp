// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/savealbum.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "album/albumproject.h"
#include "platform/choosers.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/albumname.h"
#include "shell/albumoutput.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

const QString SettingsSection = QStringLiteral("Settings");
const QString SaveOnExitValue = QStringLiteral("SaveOnExit");
const QString AddFavoritesValue = QStringLiteral("AddFavorites");
constexpr int MaxPath = 259;

} // namespace

CDeletionWarningDlg::CDeletionWarningDlg(const QString& text,
                                         CDestinationCheck::DeletionMethod stored, QWidget* parent)
    : QDialog(parent), m_recycle(new QCheckBox(loadString(IDS_REMOVE_IMMEDIATELY), this)),
      m_notShowAgain(new QCheckBox(loadString(IDS_DO_NOT_WARN_AGAIN), this))
{
    setWindowTitle(loadString(IDS_DELETION_WARNING_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* message = new QLabel(text, this);
    message->setWordWrap(true);
    layout->addWidget(message);
    layout->addWidget(m_recycle);
    layout->addWidget(m_notShowAgain);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    m_recycle->setChecked(stored.removeImmediately);
    m_notShowAgain->setChecked(stored.notShowAgain);
}

CDestinationCheck::DeletionMethod CDeletionWarningDlg::Method() const
{
    return {m_recycle->isChecked(), m_notShowAgain->isChecked()};
}

CSaveAlbum::CSaveAlbum(CGVApp& app, Choosers& choosers, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choosers(choosers),
      m_output(std::make_unique<AlbumOutput>(app, choosers)),
      m_label(new QLabel(loadString(IDS_DESTINATION_LABEL), this)),
      m_destination(new QLineEdit(this)), m_path(new QLabel(this)),
      m_change(new QPushButton(loadString(IDS_CHANGE_DESTINATION), this)),
      m_generate(new QPushButton(loadString(IDS_GENERATE), this)),
      m_view(new QPushButton(loadString(IDS_VIEW_BUTTON), this)), m_result(new QLabel(this)),
      m_saveSettings(new QCheckBox(loadString(IDS_SAVE_SETTINGS), this)),
      m_addFavorites(new QCheckBox(loadString(IDS_ADD_FAVORITES), this))
{
    m_destination->setMaxLength(MaxPath);
    m_label->setBuddy(m_destination);
    m_path->hide();
    m_change->setAutoDefault(false);
    m_generate->setAutoDefault(false); // Enter goes on to the next page
    m_view->setAutoDefault(false);
    m_view->hide();
    m_result->setWordWrap(true);
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_saveSettings->setToolTip(loadString(IDS_SAVE_SETTINGS_TIP));
    m_addFavorites->setToolTip(loadString(IDS_ADD_FAVORITES_TIP));
    connect(m_destination, &QLineEdit::textChanged, m_path, &QLabel::setText);
    connect(m_change, &QPushButton::clicked, this, &CSaveAlbum::onChange);
    connect(m_generate, &QPushButton::clicked, this, [this] { Generate(); });
    connect(m_view, &QPushButton::clicked, this, [this] { m_output->View(); });
    SetDeletionWarning([this](const QString& text, CDestinationCheck::DeletionMethod stored)
                           -> std::optional<CDestinationCheck::DeletionMethod> {
        CDeletionWarningDlg dialog(text, stored, this);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.Method();
    });
    m_output->SetAlbumNameDialog([this](const QString& proposed) {
        return CAlbumName::Ask(proposed, m_app.GetPrompter(), m_app.GetSkin(), this);
    });
}

CSaveAlbum::~CSaveAlbum() = default;

void CSaveAlbum::SetDeletionWarning(CDestinationCheck::DeletionWarning warning)
{
    m_output->SetDeletionWarning(std::move(warning));
}

void CSaveAlbum::PlaceControls()
{
    m_label->setGeometry(150, 240, 330, 20);
    m_destination->setGeometry(150, 262, 250, 24);
    m_change->setGeometry(406, 262, 90, 24);
    m_path->setGeometry(150, 288, 346, 18);
    m_saveSettings->setGeometry(150, 312, 346, 22);
    m_addFavorites->setGeometry(150, 338, 346, 22);
    m_generate->setGeometry(150, 372, 120, 28);
    m_view->setGeometry(276, 372, 120, 28);
    m_result->setGeometry(150, 406, 346, 40);
}

bool CSaveAlbum::OnSetActive()
{
    const Settings& settings = m_app.GetSettings();
    m_saveSettings->setChecked(settings.getInt(SettingsSection, SaveOnExitValue, 1) != 0);
    m_addFavorites->setChecked(settings.getInt(SettingsSection, AddFavoritesValue, 1) != 0);
    m_destination->setText(
        QDir::toNativeSeparators(CDestinationCheck::ProposeDestination(m_app.Album())));
    // An album generated before (on an earlier visit) can be viewed again.
    if (m_app.Album().IsGenerated())
        showResult(0);
    else
        showResult(-1);
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    return true;
}

void CSaveAlbum::onChange()
{
    const QString start =
        m_app.GetSettings().getString(QStringLiteral("Paths"), QStringLiteral("ResultPath"));
    const QString folder = m_choosers.folder(loadString(IDS_SELECT_ALBUM_LOCATION), start);
    if (folder.isEmpty())
        return;
    // The project must learn the new folder even when nothing else of the album changes.
    AlbumProject& album = m_app.Album();
    if (folder.toUtf8() != album.Destination().c_str()) {
        album.SetDestination(folder.toUtf8().constData());
        album.MarkModified();
    }
    m_destination->setText(QDir::toNativeSeparators(folder));
    QDir::setCurrent(folder);
}

void CSaveAlbum::enableControls(bool enable)
{
    for (QWidget* control :
         {static_cast<QWidget*>(m_destination), static_cast<QWidget*>(m_change),
          static_cast<QWidget*>(m_generate), static_cast<QWidget*>(m_view),
          static_cast<QWidget*>(m_saveSettings), static_cast<QWidget*>(m_addFavorites)})
        control->setEnabled(enable);
}

int CSaveAlbum::Generate()
{
    if (m_busy)
        return -1;
    const QString destination = m_destination->text().trimmed().left(MaxPath);
    m_busy = true;
    enableControls(false);
    // The progress window is the only one to use while the plug-in works.
    CMyPropertySheet* sheet = Sheet();
    if (sheet != nullptr)
        sheet->SetBusy(true);
    const int result =
        m_output->Generate(destination, m_saveSettings->isChecked(), m_addFavorites->isChecked());
    if (sheet != nullptr)
        sheet->SetBusy(false);
    if (QWidget* wizard = window()) {
        wizard->raise();
        wizard->activateWindow();
    }
    enableControls(true);
    m_busy = false;
    showResult(result);
    // A failure is told where it cannot be missed; a cancel was the user's own doing.
    if (result != 0 && result != GV_CANCELLED && !m_result->text().isEmpty())
        m_app.GetPrompter().message(m_result->text(), Prompter::Icon::Error);
    return result;
}

void CSaveAlbum::showResult(int result)
{
    m_result->setText(m_output->ResultText(result));
    m_view->setVisible(result == 0);
}

bool CSaveAlbum::SaveModifiedAlbum()
{
    return m_output->SaveModified() && !m_app.Album().IsModified();
}

void CSaveAlbum::storeBoxes()
{
    Settings& settings = m_app.GetSettings();
    settings.writeInt(SettingsSection, SaveOnExitValue, m_saveSettings->isChecked() ? 1 : 0);
    settings.writeInt(SettingsSection, AddFavoritesValue, m_addFavorites->isChecked() ? 1 : 0);
}

int CSaveAlbum::OnWizardNext()
{
    if (m_busy)
        return Stay;
    storeBoxes();
    if (!m_output->Next(m_saveSettings->isChecked(), [this] { return Generate(); }))
        return Stay;
    return Default;
}
