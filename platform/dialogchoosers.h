// SPDX-License-Identifier: GPL-2.0-or-later
// DialogChoosers: the desktop program's file, folder, colour and font dialogs.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/choosers.h"

class DialogChoosers : public Choosers
{
public:
    explicit DialogChoosers(QWidget* owner = nullptr) : m_owner(owner) {}
    void setOwner(QWidget* owner) { m_owner = owner; }

    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QStringList openFiles(const QString& title, const QString& folder,
                          const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<uint32_t> colour(uint32_t initial) override;
    bool font(GVFontBlock& block) override;

    // "Name (*.a *.b)|*.a;*.b|..." filters, as the string table keeps them, in the form the
    // file dialogs take ("Name (*.a *.b);;..."); other filters pass unchanged.
    static QString dialogFilter(const QString& filter);

private:
    QPointer<QWidget> m_owner;
};
