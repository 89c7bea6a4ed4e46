// MessageBoxPrompter: the desktop program's questions and messages as message boxes over the
// program's window.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/prompter.h"

class MessageBoxPrompter : public Prompter
{
public:
    explicit MessageBoxPrompter(QWidget* owner = nullptr) : m_owner(owner) {}

    // Message boxes opened from now on belong to owner (the wizard once it is shown).
    void setOwner(QWidget* owner) { m_owner = owner; }

    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon) override;
    void message(const QString& text, Icon icon) override;

private:
    QPointer<QWidget> m_owner;
};
