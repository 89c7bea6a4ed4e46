// SPDX-License-Identifier: GPL-2.0-or-later
// Choosers: the dialogs in which the user picks a file, a folder, a colour or a font. The
// desktop programs show the platform's dialogs; tests install scripted choosers.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>
#include <QStringList>

#include "sdk/gvfontblock.h"

class Choosers {
public:
    virtual ~Choosers() = default;

    // A file to open, or "" when the user cancelled. filter: "Pictures (*.jpg *.png)".
    virtual QString openFile(const QString& title, const QString& folder,
                             const QString& filter) = 0;
    // Files to open, several at once, in the order chosen; empty when the user cancelled.
    // Choosers that pick one file at a time give that one.
    virtual QStringList openFiles(const QString& title, const QString& folder,
                                  const QString& filter)
    {
        const QString file = openFile(title, folder, filter);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    // A file to save to, starting from suggested; "" when the user cancelled.
    virtual QString saveFile(const QString& title, const QString& suggested,
                             const QString& filter) = 0;
    // A folder, or "" when the user cancelled.
    virtual QString folder(const QString& title, const QString& start) = 0;
    // A colour (COLORREF, 0x00BBGGRR), or nothing when the user cancelled.
    virtual std::optional<uint32_t> colour(uint32_t initial) = 0;
    // Edits the font block in place; false when the user cancelled.
    virtual bool font(GVFontBlock& block) = 0;
};

// Choosers for work with nobody to ask (the command-line tool, reading albums in the
// background, tests): every choice is cancelled.
class NoChoosers : public Choosers {
public:
    QString openFile(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<uint32_t> colour(uint32_t) override { return std::nullopt; }
    bool font(GVFontBlock&) override { return false; }
};
