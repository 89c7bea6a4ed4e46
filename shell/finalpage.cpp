// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/finalpage.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTimer>

#include "album/albumproject.h"
#include "controls/imagebutton.h"
#include "platform/prompter.h"
#include "platform/secretstore.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "publish/ftptreedlg.h"
#include "shell/albumsheet.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

const QString Section = QStringLiteral("Settings");
const QString ContinueValue = QStringLiteral("ContinueWithGV");
constexpr int ContinuePicture = 266; // "continue_gv.gif"
constexpr int ExitPicture = 267;     // "close_gv.gif"
constexpr int PublishPicture = 268;  // "publish.gif"

} // namespace

bool FinalChoice::StoredContinue() const
{
    return m_settings.getInt(Section, ContinueValue, 1) >= 1;
}

bool FinalChoice::Publishable(const AlbumProject& album)
{
    return album.IsGenerated() || !album.Destination().empty();
}

bool FinalChoice::Finish(bool continueWithNew, AlbumProject& album)
{
    m_settings.writeInt(Section, ContinueValue, continueWithNew ? 1 : 0);
    if (!continueWithNew)
        return true;
    album.Reset();
    return false;
}

CFinalPage::CFinalPage(CGVApp& app, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choice(app.GetSettings()),
      m_continue(makeChoice(ContinuePicture, IDC_CONTINUE, IDS_CONTINUE_WITH_GV,
                            IDS_CONTINUE_WITH_GV_TIP)),
      m_exit(makeChoice(ExitPicture, IDC_EXIT, IDS_EXIT_APPLICATION, IDS_EXIT_APPLICATION_TIP)),
      m_publish(nullptr)
{
    auto* publishButton = new CImageButton(this, IDC_PUBLISH);
    publishButton->setText(loadString(IDS_PUBLISH_BUTTON));
    publishButton->SetImage(m_app.GetSkin().LoadSkinPicture(PublishPicture), 2);
    publishButton->setAccessibleName(loadString(IDS_PUBLISH_BUTTON));
    publishButton->setToolTip(loadString(IDS_PUBLISH_TIP));
    m_publish = publishButton;
    connect(m_publish, &QAbstractButton::clicked, this, &CFinalPage::publish);

    // A pair of check buttons that act as radio buttons: exactly one is on.
    auto* pair = new QButtonGroup(this);
    pair->setExclusive(true);
    pair->addButton(m_continue);
    pair->addButton(m_exit);
}

QAbstractButton* CFinalPage::makeChoice(int pictureId, int controlId, int textId, int tipId)
{
    QAbstractButton* button = nullptr;
    const QImage strip = m_app.GetSkin().LoadSkinPicture(pictureId);
    if (!strip.isNull()) {
        auto* image = new CImageButton(strip, 2, this, controlId, true);
        image->setCheckStyle(true);
        button = image;
    } else {
        auto* push = new QPushButton(loadString(textId), this);
        push->setCheckable(true);
        push->setAutoDefault(false); // Enter presses Done
        button = push;
    }
    button->setAccessibleName(loadString(textId));
    button->setToolTip(loadString(tipId));
    return button;
}

void CFinalPage::OnInitDialog()
{
    check(m_choice.StoredContinue());
}

void CFinalPage::PlaceControls()
{
    m_continue->setGeometry(140, 314, 340, 24);
    m_exit->setGeometry(140, 344, 340, 24);
    m_publish->setGeometry(250, 238, 78, 21);
}

void CFinalPage::publish()
{
    AlbumProject& album = m_app.Album();
    if (!FinalChoice::Publishable(album)) {
        m_app.GetPrompter().message(loadString(IDS_NOT_GENERATED),
                                    Prompter::Icon::Information);
        return;
    }
    auto* sheet = dynamic_cast<CAlbumSheet*>(Sheet());
    CFTPTREEDlg::Services services;
    if (sheet != nullptr) {
        const HelpCommands& help = sheet->Help();
        services.showHelp = [&help](const QString& topic) { help.ShowTopic(topic); };
        services.openFile = [&help](const QString& path) { return help.OpenFile(path); };
    }
    SecretStore secrets;
    CFTPTREEDlg dialog(m_app.GetSettings(), m_app.GetPrompter(), &secrets, std::move(services),
                       this);
    dialog.SetLocalFolder(QString::fromUtf8(album.Destination().c_str()));
    dialog.exec();
}

void CFinalPage::check(bool continueWithNew)
{
    m_continue->setChecked(continueWithNew);
    m_exit->setChecked(!continueWithNew);
}

bool CFinalPage::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_FINISH);
    if (QAbstractButton* finish = Sheet()->Button(CMyPropertySheet::ID_WIZFINISH))
        finish->setText(loadString(IDS_DONE));
    return true;
}

bool CFinalPage::OnWizardFinish()
{
    const bool continueWithNew = m_continue->isChecked();
    if (m_choice.Finish(continueWithNew, m_app.Album()))
        return true;
    // A new pass starts at the welcome page, after the press is done with.
    QTimer::singleShot(0, this, [this] { Sheet()->SetActivePage(FinalChoice::WelcomePage); });
    return false;
}

bool CFinalPage::OnCommand(int command)
{
    if (command != ID_CONTINUE && command != ID_EXIT)
        return false;
    check(command == ID_CONTINUE);
    Sheet()->PressButton(CMyPropertySheet::ID_WIZFINISH);
    return true;
}
