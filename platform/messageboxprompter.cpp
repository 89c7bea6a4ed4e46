// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/messageboxprompter.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>
#include <QSpacerItem>

#include "platform/stringtable.h"

namespace
{

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Error:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Prompter::Buttons buttons)
{
    switch (buttons) {
    case Prompter::Buttons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case Prompter::Buttons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case Prompter::Buttons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Prompter::Buttons::SaveDiscardCancel:
        return QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel;
    case Prompter::Buttons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton boxButton(Prompter::Answer answer, Prompter::Buttons buttons)
{
    const bool save = buttons == Prompter::Buttons::SaveDiscardCancel;
    switch (answer) {
    case Prompter::Answer::Cancel:
        return QMessageBox::Cancel;
    case Prompter::Answer::Yes:
        return save ? QMessageBox::Save : QMessageBox::Yes;
    case Prompter::Answer::No:
        return save ? QMessageBox::Discard : QMessageBox::No;
    case Prompter::Answer::Ok:
        break;
    }
    return QMessageBox::Ok;
}

Prompter::Answer answerOf(int button, Prompter::Answer fallback)
{
    switch (button) {
    case QMessageBox::Ok:
        return Prompter::Answer::Ok;
    case QMessageBox::Cancel:
        return Prompter::Answer::Cancel;
    case QMessageBox::Yes:
    case QMessageBox::Save:
        return Prompter::Answer::Yes;
    case QMessageBox::No:
    case QMessageBox::Discard:
        return Prompter::Answer::No;
    default:
        return fallback;
    }
}

// Closing the box without a button counts as its way out: Cancel, else No, else OK.
Prompter::Answer escapeAnswer(Prompter::Buttons buttons)
{
    if (buttons == Prompter::Buttons::YesNo)
        return Prompter::Answer::No;
    if (buttons == Prompter::Buttons::Ok)
        return Prompter::Answer::Ok;
    return Prompter::Answer::Cancel;
}

// Room a window manager takes beside the title: the window icon and the title bar's buttons.
constexpr int TitleBarReserve = 120;

} // namespace

int MessageBoxPrompter::TitleWidth(const QString& title)
{
    // Title bars commonly use a bold, slightly larger face than the dialog's text.
    QFont font = QApplication::font();
    font.setBold(true);
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 1);
    return QFontMetrics(font).horizontalAdvance(title) + TitleBarReserve;
}

void MessageBoxPrompter::fitTitle(QMessageBox& box)
{
    // A message box sizes itself to its text only, and a short question would show its title
    // cut; a spacer across the box's grid keeps it as wide as the title needs.
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(TitleWidth(box.windowTitle()), 0, QSizePolicy::Minimum,
                                      QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

Prompter::Answer MessageBoxPrompter::ask(const QString& text, Buttons buttons, Answer defaultAnswer,
                                         Icon icon)
{
    QMessageBox box(boxIcon(icon), title(), text, boxButtons(buttons),
                    m_owner.data());
    box.setDefaultButton(boxButton(defaultAnswer, buttons));
    if (buttons == Buttons::SaveDiscardCancel) {
        box.button(QMessageBox::Save)->setText(loadString(IDS_SAVE_BUTTON));
        box.button(QMessageBox::Discard)->setText(loadString(IDS_DONT_SAVE_BUTTON));
    }
    fitTitle(box);
    return answerOf(box.exec(), escapeAnswer(buttons));
}

void MessageBoxPrompter::message(const QString& text, Icon icon)
{
    QMessageBox box(boxIcon(icon), title(), text, QMessageBox::Ok,
                    m_owner.data());
    fitTitle(box);
    box.exec();
}

QString MessageBoxPrompter::title() const
{
    return m_title.isEmpty() ? loadString(IDS_APP_TITLE) : m_title;
}
