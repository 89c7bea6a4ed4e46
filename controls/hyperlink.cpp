// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/hyperlink.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QProcess>
#include <QUrl>

#include "platform/messageboxprompter.h"
#include "platform/stringtable.h"

const QColor CHyperLink::LinkColor(0, 0, 238);
const QColor CHyperLink::VisitedColor(85, 26, 139);
const QColor CHyperLink::DarkLinkColor(138, 180, 248);
const QColor CHyperLink::DarkVisitedColor(197, 138, 249);
const QColor CHyperLink::BackgroundColor(159, 160, 143);

QString hyperlinkErrorText(int code)
{
    static const int known[] = {0, 2, 3, 5, 8, 11, 26, 27, 28, 29, 30, 31, 32};
    QString reason;
    for (int i = 0; i < int(std::size(known)); ++i)
        if (known[i] == code)
            reason = loadString(IDS_LINK_ERROR_FIRST + i);
    if (reason.isEmpty())
        reason =
            loadString(IDS_LINK_UNKNOWN_ERROR).replace(QLatin1String("%d"), QString::number(code));
    return loadString(IDS_LINK_UNABLE) + reason;
}

QString hyperlinkFallbackCommand(const QString& classCommand, const QString& target)
{
    if (classCommand.isEmpty())
        return QString();
    qsizetype cut = classCommand.indexOf(QLatin1String("\"%1\""));
    if (cut < 0)
        cut = classCommand.indexOf(QLatin1String("%1"));
    const QString command = cut < 0 ? classCommand : classCommand.left(cut);
    return command + QLatin1Char(' ') + target;
}

// How bright a colour looks (0 to 255): pure blue is dark although its HSL lightness is half.
int brightness(const QColor& colour)
{
    return (colour.red() * 2126 + colour.green() * 7152 + colour.blue() * 722) / 10000;
}

int openWithDesktop(const QString& target)
{
    return QDesktopServices::openUrl(QUrl::fromUserInput(target)) ? 33 : 31;
}

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent)
{
    setCursor(Qt::PointingHandCursor);
    setAutoFillBackground(false);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    restyle();
}

void CHyperLink::SetURL(const QString& target)
{
    m_target = target;
    setToolTip(target);
}

QColor CHyperLink::textColor() const
{
    if (m_over)
        return palette().color(QPalette::Highlight);
    // The classic blue and purple vanish on a dark window: there the palette's own link
    // colours are used, or light ones when the palette's are dark too.
    if (brightness(palette().color(QPalette::Window)) < 128) {
        const QColor own = palette().color(m_visited ? QPalette::LinkVisited : QPalette::Link);
        if (brightness(own) >= 128)
            return own;
        return m_visited ? DarkVisitedColor : DarkLinkColor;
    }
    return m_visited ? VisitedColor : LinkColor;
}

void CHyperLink::restyle()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, textColor());
    setPalette(colours);
    update();
}

void CHyperLink::enterEvent(QEnterEvent* event)
{
    m_over = true;
    restyle();
    QLabel::enterEvent(event);
}

void CHyperLink::leaveEvent(QEvent* event)
{
    m_over = false;
    restyle();
    QLabel::leaveEvent(event);
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        open();
    QLabel::mouseReleaseEvent(event);
}

int CHyperLink::runFallback(int failure)
{
    const QString command =
        hyperlinkFallbackCommand(m_classCommand ? m_classCommand() : QString(), m_target);
    QStringList words = QProcess::splitCommand(command);
    // Without a registered program the first answer is the one to explain.
    if (words.isEmpty())
        return failure;
    const QString program = words.takeFirst();
    return QProcess::startDetached(program, words) ? 33 : 2;
}

bool CHyperLink::open()
{
    int result = m_opener ? m_opener(m_target) : 31;
    if (result <= 32)
        result = runFallback(result);
    if (result > 32) {
        m_visited = true;
        restyle();
        Q_EMIT opened(m_target);
        return true;
    }
    QApplication::beep();
    MessageBoxPrompter boxes(this);
    Prompter& prompter = m_prompter ? *m_prompter : static_cast<Prompter&>(boxes);
    prompter.message(hyperlinkErrorText(result), Prompter::Icon::Warning);
    return false;
}
