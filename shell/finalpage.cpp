// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/finalpage.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTimer>

#include "album/albumproject.h"
#include "controls/imagebutton.h"
#include "platform/settings.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

const QString Section = QStringLiteral("Settings");
const QString ContinueValue = QStringLiteral("ContinueWithGV");
constexpr int ContinuePicture = 266; // "continue_gv.gif"
constexpr int ExitPicture = 267;     // "close_gv.gif"

} // namespace

bool FinalChoice::StoredContinue() const
{
    return m_settings.getInt(Section, ContinueValue, 1) >= 1;
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
      m_exit(makeChoice(ExitPicture, IDC_EXIT, IDS_EXIT_APPLICATION, IDS_EXIT_APPLICATION_TIP))
{
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
