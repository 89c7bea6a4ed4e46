// TerminalProgress: the progress of a long operation as the command-line tool shows it, one
// line "title: NN% text" on the error stream each time the percentage or the text changes.
// Nobody can press Cancel in a terminal, so it never asks the operation to stop.
#pragma once

#include <cstdio>
#include <optional>

#include <QString>

#include "album/progress.h"

class TerminalProgress : public Progress {
public:
    explicit TerminalProgress(std::FILE* out = stderr) : m_out(out) {}

    void setTitle(const QString& title) override { m_title = title; }
    void setPosition(int percent) override { m_percent = percent; }
    void setText(const QString& text) override { m_text = text; }
    // Writes the line when it differs from the last one written; never cancels.
    bool pump() override;

    // The line for a state, without its line break.
    static QString line(const QString& title, int percent, const QString& text);

private:
    std::FILE* m_out;
    QString m_title;
    int m_percent = 0;
    QString m_text;
    // Operations report position and text separately; writing at the pump that follows
    // gives one line per report instead of two.
    std::optional<QString> m_written;
};
