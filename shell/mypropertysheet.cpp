// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/mypropertysheet.h"

#include <cstdio>

#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextStream>
#include <QTimer>

#include "controls/accessiblenames.h"
#include "controls/controllisting.h"
#include "controls/imagebutton.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "shell/basepage.h"
#include "shell/skin.h"

namespace
{

// Pictures of the wizard buttons and their number of states.
constexpr int BackPicture = 182, NextPicture = 184, CancelPicture = 188, HelpPicture = 189,
              DonePicture = 228;
// Where the wizard's own buttons sit, measured from the window's bottom edge; the skinned
// ones keep these vertical places.
constexpr int ButtonsAboveBottom = 46, SmallButtonsAboveBottom = 37, ButtonMargin = 22;
const QRect ClickableRect(3, 3, 70, 24);

} // namespace

CMyPropertySheet::CMyPropertySheet(Skin& skin, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_skin(skin), m_prompter(prompter), m_stack(new QStackedWidget(this))
{
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The designed size is the smallest; a larger window gives the pages' lists room.
    setMinimumSize(ClientWidth, ClientHeight);
    resize(ClientWidth, ClientHeight);
    m_stack->setGeometry(0, 0, CBasePage::Width, CBasePage::Height);
    m_stack->setAutoFillBackground(false);
    accessiblenames::Install();
    createButtons();
    m_navigator.SetPageChanged([this](int index) { pageChanged(index); });
}

CMyPropertySheet::~CMyPropertySheet() = default;

QAbstractButton* CMyPropertySheet::makeButton(int pictureId, int states, int textId, int controlId)
{
    const QImage strip = m_skin.LoadSkinPicture(pictureId);
    if (!strip.isNull()) {
        auto* image = new CImageButton(strip, states, this, controlId, true);
        // The caption is not painted over the picture, which shows it, but gives the button
        // its Alt key and its spoken name.
        image->setText(loadString(textId));
        return image;
    }
    // Without the skin's artwork the wizard stays usable with plain buttons.
    auto* button = new QPushButton(loadString(textId), this);
    // Enter is the wizard's own business (keyPressEvent), not the focused button's.
    button->setAutoDefault(false);
    button->resize(controlId == IDHELP || controlId == IDCANCEL ? QSize(90, 22) : QSize(76, 30));
    return button;
}

void CMyPropertySheet::createButtons()
{
    m_back = makeButton(BackPicture, 3, IDS_BACK, ID_WIZBACK);
    m_help = makeButton(HelpPicture, 2, IDS_HELP, IDHELP);
    m_cancel = makeButton(CancelPicture, 2, IDS_CANCEL, IDCANCEL);
    m_next = makeButton(NextPicture, 3, IDS_NEXT, ID_WIZNEXT);
    m_finish = makeButton(DonePicture, 3, IDS_FINISH, ID_WIZFINISH);
    for (QAbstractButton* button : {m_back, m_next, m_finish}) {
        if (auto* image = qobject_cast<CImageButton*>(button))
            image->setClickableRect(ClickableRect);
    }
    placeButtons();
    setTabOrder(m_back, m_help);
    setTabOrder(m_help, m_cancel);
    setTabOrder(m_cancel, m_next);
    setTabOrder(m_next, m_finish);
    connect(m_back, &QAbstractButton::clicked, this, [this] { m_navigator.Back(); });
    connect(m_next, &QAbstractButton::clicked, this, [this] { m_navigator.Next(); });
    connect(m_finish, &QAbstractButton::clicked, this, [this] {
        if (m_navigator.Finish())
            accept();
    });
    connect(m_cancel, &QAbstractButton::clicked, this, [this] { reject(); });
    connect(m_help, &QAbstractButton::clicked, this, [this] { showHelpMenu(); });
    m_finish->hide();
}

void CMyPropertySheet::placeButtons()
{
    const int buttonsTop = height() - ButtonsAboveBottom;
    const int smallButtonsTop = height() - SmallButtonsAboveBottom;
    m_back->move(ButtonMargin, buttonsTop);
    m_next->move(width() - ButtonMargin - m_next->width(), buttonsTop);
    m_finish->move(width() - ButtonMargin - m_finish->width(), buttonsTop);
    // Help and Cancel share the middle: Help above the line, Cancel below it.
    m_cancel->move((width() - m_cancel->width()) / 2,
                   smallButtonsTop + m_cancel->height() / 2 + 3);
    m_help->move((width() - m_help->width()) / 2, smallButtonsTop - m_help->height() / 2);
}

void CMyPropertySheet::AddPage(CBasePage* page)
{
    page->SetSheet(this);
    m_stack->addWidget(page);
    m_navigator.AddPage(*page);
}

CBasePage* CMyPropertySheet::Page(int index) const
{
    return qobject_cast<CBasePage*>(m_stack->widget(index));
}

bool CMyPropertySheet::SetActivePage(int index)
{
    return m_navigator.SetActivePage(index);
}

void CMyPropertySheet::pageChanged(int index)
{
    m_stack->setCurrentIndex(index);
    update();
    listControlsLater();
}

void CMyPropertySheet::listControlsLater()
{
    if (!controllisting::Wanted() || m_listingPosted)
        return;
    // After the work the page posted on becoming active (focus, first fill) is done; one
    // listing for a page change and the showing of the window that come together.
    m_listingPosted = true;
    QTimer::singleShot(0, this, [this] {
        m_listingPosted = false;
        if (!isVisible())
            return;
        QTextStream err(stderr);
        controllisting::List(GetActiveIndex(), *this, err);
    });
}

void CMyPropertySheet::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    listControlsLater();
}

void CMyPropertySheet::SetWizardButtons(int buttons)
{
    m_back->setEnabled((buttons & PSWIZB_BACK) != 0);
    const bool finish = (buttons & PSWIZB_FINISH) != 0;
    m_finish->setVisible(finish);
    m_finish->setEnabled(finish);
    m_next->setVisible(!finish);
    m_next->setEnabled((buttons & PSWIZB_NEXT) != 0);
}

void CMyPropertySheet::PressButton(int buttonId)
{
    QTimer::singleShot(0, this, [this, buttonId] {
        if (QAbstractButton* button = Button(buttonId); button && button->isEnabled())
            button->click();
    });
}

QAbstractButton* CMyPropertySheet::Button(int buttonId) const
{
    switch (buttonId) {
    case ID_WIZBACK:
        return m_back;
    case ID_WIZNEXT:
        return m_next;
    case ID_WIZFINISH:
        return m_finish;
    case IDHELP:
        return m_help;
    case IDCANCEL:
        return m_cancel;
    default:
        return nullptr;
    }
}

QMenu* CMyPropertySheet::BuildHelpMenu()
{
    auto* menu = new QMenu(this);
    const std::pair<int, int> items[] = {
        {ID_HELP_CONTENTS, IDS_HELP_CONTENTS}, {ID_TIP_OF_THE_DAY, IDS_TIP_OF_THE_DAY},
        {ID_WHATS_NEW, IDS_WHATS_NEW},         {ID_ONLINE_SUPPORT, IDS_ONLINE_SUPPORT},
        {ID_MAIL_SUPPORT, IDS_MAIL_SUPPORT},   {ID_APP_ABOUT, IDS_ABOUT_MENU}};
    for (const auto& [command, text] : items) {
        QAction* action = menu->addAction(loadString(text));
        action->setData(command);
        connect(action, &QAction::triggered, this, [this, command] { OnHelpCommand(command); });
    }
    menu->setDefaultAction(menu->actions().first());
    return menu;
}

void CMyPropertySheet::showHelpMenu()
{
    QMenu* menu = BuildHelpMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(QCursor::pos());
}

void CMyPropertySheet::reject()
{
    if (!IsBusy() && MayClose())
        QDialog::reject();
}

bool CMyPropertySheet::MayClose()
{
    return m_prompter.ask(loadString(IDS_EXIT_NOW), Prompter::Buttons::YesNo,
                          Prompter::Answer::Yes,
                          Prompter::Icon::Question) == Prompter::Answer::Yes;
}

void CMyPropertySheet::SetBusy(bool busy)
{
    if (busy == IsBusy())
        return;
    m_navigator.SetLocked(busy);
    if (busy) {
        for (QAbstractButton* button : {m_back, m_next, m_finish, m_help, m_cancel}) {
            if (button->isEnabled()) {
                button->setEnabled(false);
                m_heldButtons.push_back(button);
            }
        }
        return;
    }
    for (QAbstractButton* button : m_heldButtons)
        button->setEnabled(true);
    m_heldButtons.clear();
}

void CMyPropertySheet::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    PaintBackground(painter);
}

void CMyPropertySheet::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    // The pages take what the window grew by; the buttons stay along its bottom edge.
    m_stack->setGeometry(0, 0, width() - (ClientWidth - CBasePage::Width),
                         height() - (ClientHeight - CBasePage::Height));
    placeButtons();
}

void CMyPropertySheet::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || event->modifiers() & ~Qt::KeypadModifier) {
        QDialog::keyPressEvent(event);
        return;
    }
    // Enter on one of the wizard's buttons presses it; anywhere else it goes on, as Next
    // or, on the last page, Finish.
    auto* focused = qobject_cast<QAbstractButton*>(focusWidget());
    QAbstractButton* target = m_finish->isVisible() ? m_finish : m_next;
    for (QAbstractButton* own : {m_back, m_next, m_finish, m_help, m_cancel}) {
        if (focused == own)
            target = own;
    }
    if (target->isEnabled())
        target->click();
    event->accept();
}
