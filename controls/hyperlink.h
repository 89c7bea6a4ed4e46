// SPDX-License-Identifier: GPL-2.0-or-later
// CHyperLink: a caption that opens a web address or document when clicked. It shows the
// link colour, the visited colour once opened, and the highlight colour under the mouse.
#pragma once

#include <functional>

#include <QColor>
#include <QLabel>

class Prompter;

// What the shell answered: above 32 is success, 32 or less an error code.
using LinkOpener = std::function<int(const QString& target)>;

// The message shown when the target cannot be opened ("Unable to open hyperlink:..."), by code.
QString hyperlinkErrorText(int code);
// The command that opens target with the program registered for web pages: command cut
// at its first "%1" (quoted or not), then a blank and target. "" when there is no command.
QString hyperlinkFallbackCommand(const QString& classCommand, const QString& target);
// Opens target in the desktop's browser or viewer; 33 on success, 31 (no association) else.
int openWithDesktop(const QString& target);

class CHyperLink : public QLabel
{
    Q_OBJECT
public:
    static const QColor LinkColor;
    static const QColor VisitedColor;
    // The same on a dark window whose palette has no light link colours.
    static const QColor DarkLinkColor;
    static const QColor DarkVisitedColor;
    static const QColor BackgroundColor;

    explicit CHyperLink(QWidget* parent = nullptr);

    void SetURL(const QString& target);
    QString GetURL() const { return m_target; }
    // Tests and the photo editor replace how targets are opened and where errors are told.
    void setOpener(LinkOpener opener) { m_opener = std::move(opener); }
    void setPrompter(Prompter* prompter) { m_prompter = prompter; }
    // A source of the ".htm" class's open command (the fallback); none by default.
    void setClassCommandSource(std::function<QString()> source)
    {
        m_classCommand = std::move(source);
    }

    bool isVisited() const { return m_visited; }
    bool isOver() const { return m_over; }
    QColor textColor() const;
    // Opens the target as a click does; true when it was opened.
    bool open();

Q_SIGNALS:
    void opened(const QString& target);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void restyle();
    int runFallback(int failure);

    QString m_target;
    LinkOpener m_opener = openWithDesktop;
    Prompter* m_prompter = nullptr;
    std::function<QString()> m_classCommand;
    bool m_over = false;
    bool m_visited = false;
};
