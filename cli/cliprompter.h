// SPDX-License-Identifier: GPL-2.0-or-later
// CliPrompter: questions and messages of the album engine on the terminal. Nobody answers
// there, so each question is written with the answer given on the user's behalf: Yes when
// the command was run with --yes, otherwise the question's default.
#pragma once

#include <cstdio>

#include <QStringList>

#include "platform/prompter.h"

class CliPrompter : public Prompter
{
public:
    explicit CliPrompter(bool answerYes, std::FILE* out = stderr)
        : m_answerYes(answerYes), m_out(out)
    {
    }

    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon) override;
    void message(const QString& text, Icon icon) override;

    // Every message shown, in order.
    const QStringList& messages() const { return m_messages; }

private:
    bool m_answerYes;
    std::FILE* m_out;
    QStringList m_messages;
};

// Keeps the messages to itself: for work whose failures the command reports its own way.
class QuietPrompter : public Prompter
{
public:
    Answer ask(const QString&, Buttons, Answer defaultAnswer, Icon) override
    {
        return defaultAnswer;
    }
    void message(const QString& text, Icon) override { m_messages << text; }
    const QStringList& messages() const { return m_messages; }

private:
    QStringList m_messages;
};
