// SPDX-License-Identifier: GPL-2.0-or-later
// Progress of a long operation (saving a project, generating an album, publishing) as the
// operation reports it. The desktop program shows a window; the command-line tool writes to
// the terminal; tests record the reports.
#pragma once

#include <QString>

class Progress {
public:
    virtual ~Progress() = default;

    // The window's title ("Saving...", "Generating album...").
    virtual void setTitle(const QString& title) = 0;
    // Percent done, 0 to 100.
    virtual void setPosition(int percent) = 0;
    // Replaces the status text.
    virtual void setText(const QString& text) = 0;
    // Lets the user interface catch up (paint, the Cancel button); true once the user asked
    // to cancel. Operations call it after every report.
    virtual bool pump() = 0;
};

// Progress that goes nowhere and is never cancelled.
class SilentProgress : public Progress {
public:
    void setTitle(const QString&) override {}
    void setPosition(int) override {}
    void setText(const QString&) override {}
    bool pump() override { return false; }
};
