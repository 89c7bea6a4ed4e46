// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumintro.h"

#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "controls/imagebutton.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

constexpr int CreatePicture = 231; // "createproject.gif"
constexpr int ModifyPicture = 232; // "modifyproject.gif"

} // namespace

CAlbumIntro::CAlbumIntro(CGVApp& app, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choice(app.GetSettings()),
      m_question(new QLabel(loadString(IDS_WELCOME_QUESTION), this)),
      m_createNew(makeChoice(CreatePicture, IDC_CREATE_NEW, IDS_CREATE_NEW)),
      m_openExisting(makeChoice(ModifyPicture, IDC_OPEN_EXISTING, IDS_OPEN_EXISTING))
{
    // A pair of check buttons that act as radio buttons: exactly one is on.
    auto* pair = new QButtonGroup(this);
    pair->setExclusive(true);
    pair->addButton(m_createNew);
    pair->addButton(m_openExisting);
    m_createNew->setToolTip(loadString(IDS_CREATE_NEW_TIP));
    m_openExisting->setToolTip(loadString(IDS_OPEN_EXISTING_TIP));
}

QAbstractButton* CAlbumIntro::makeChoice(int pictureId, int controlId, int textId)
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
        push->setAutoDefault(false); // Enter goes on to the next page
        button = push;
    }
    button->setAccessibleName(loadString(textId));
    button->installEventFilter(this);
    return button;
}

void CAlbumIntro::OnInitDialog()
{
    showStoredChoice();
    if (m_firstShown)
        QTimer::singleShot(0, this, m_firstShown);
}

void CAlbumIntro::PlaceControls()
{
    m_question->setGeometry(152, 244, 340, 24);
    m_createNew->setGeometry(152, 274, 340, 24);
    m_openExisting->setGeometry(152, 304, 340, 23);
}

void CAlbumIntro::check(bool createNew)
{
    m_createNew->setChecked(createNew);
    m_openExisting->setChecked(!createNew);
}

void CAlbumIntro::showStoredChoice()
{
    check(m_choice.StoredCreateNew());
}

bool CAlbumIntro::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_NEXT);
    // A choice changed without Next is forgotten: the stored one shows again.
    showStoredChoice();
    QTimer::singleShot(
        0, this, [this] { (m_createNew->isChecked() ? m_createNew : m_openExisting)->setFocus(); });
    return true;
}

int CAlbumIntro::OnWizardNext()
{
    return m_choice.Next(!m_openExisting->isChecked(), m_app.Album());
}

void CAlbumIntro::ChooseAndGo(bool createNew)
{
    check(createNew);
    Sheet()->PressButton(CMyPropertySheet::ID_WIZNEXT);
}

bool CAlbumIntro::OnCommand(int command)
{
    if (command != ID_CREATE_NEW && command != ID_OPEN_EXISTING)
        return false;
    const bool createNew = command == ID_CREATE_NEW;
    // After the key is done with, as a posted message would run.
    QTimer::singleShot(0, this, [this, createNew] { ChooseAndGo(createNew); });
    return true;
}

bool CAlbumIntro::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick &&
        (watched == m_createNew || watched == m_openExisting)) {
        ChooseAndGo(watched == m_createNew);
        return true;
    }
    return CBasePage::eventFilter(watched, event);
}
