// SPDX-License-Identifier: GPL-2.0-or-later
// TerminalProgress: the progress of a long operation as the command-line tool shows it. On a
// terminal it is a bar redrawn in place ("Generating album... [#####.....]  50% page 3");
// written to a file or a pipe it is one line "title: NN% text" each time the percentage or
// the text changes. Nobody can press Cancel in a terminal, so it never asks to stop.
#pragma once

#include <cstdio>
#include <optional>

#include <QString>

#include "album/progress.h"

class TerminalProgress : public Progress
{
public:
    enum class Style {
        Lines, // one line per change
        Bar,   // one line redrawn in place
        Auto,  // a bar on a terminal, lines elsewhere
    };

    explicit TerminalProgress(std::FILE* out = stderr, Style style = Style::Lines);
    // Ends the bar's line, so what follows starts on a line of its own.
    ~TerminalProgress() override;
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void setTitle(const QString& title) override { m_title = title; }
    void setPosition(int percent) override { m_percent = percent; }
    void setText(const QString& text) override { m_text = text; }
    // Writes the state when it differs from what was last written; never cancels.
    bool pump() override;

    // The line for a state, without its line break.
    static QString line(const QString& title, int percent, const QString& text);
    // The bar for a state, at most width characters wide.
    static QString bar(const QString& title, int percent, const QString& text, int width);

private:
    std::FILE* m_out;
    bool m_bar;
    QString m_title;
    int m_percent = 0;
    QString m_text;
    // Operations report position and text separately; writing at the pump that follows
    // gives one line per report instead of two.
    std::optional<QString> m_written;
};
