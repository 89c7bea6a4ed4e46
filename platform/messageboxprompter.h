// SPDX-License-Identifier: GPL-2.0-or-later
// MessageBoxPrompter: the desktop program's questions and messages as message boxes over the
// program's window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter.h"

class QMessageBox;

class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget* owner = nullptr) : m_owner(owner) {}

    // Message boxes opened from now on belong to owner (the wizard once it is shown).
    void setOwner(QWidget* owner) { m_owner = owner; }
    // The boxes' title; the album builder's name unless a program gives its own.
    void setTitle(const QString& title) { m_title = title; }

    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon) override;
    void message(const QString& text, Icon icon) override;

    // How wide a window must be for a title bar to show title whole.
    static int TitleWidth(const QString& title);

private:
    static void fitTitle(QMessageBox& box);

    QString title() const;

    QPointer<QWidget> m_owner;
    QString m_title;
};
