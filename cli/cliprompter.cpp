// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/cliprompter.h"

namespace
{

const char* answerName(Prompter::Answer answer)
{
    switch (answer) {
    case Prompter::Answer::Yes:
        return "Yes";
    case Prompter::Answer::No:
        return "No";
    case Prompter::Answer::Ok:
        return "OK";
    case Prompter::Answer::Cancel:
        break;
    }
    return "Cancel";
}

} // namespace

Prompter::Answer CliPrompter::ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon)
{
    const bool yesOffered = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
    const Answer answer = m_answerYes && yesOffered ? Answer::Yes : defaultAnswer;
    if (m_out != nullptr) {
        std::fprintf(m_out, "%s\n-> %s%s\n", qUtf8Printable(text), answerName(answer),
                     yesOffered && answer != Answer::Yes ? " (run with --yes to answer Yes)" : "");
        std::fflush(m_out);
    }
    return answer;
}

void CliPrompter::message(const QString& text, Icon icon)
{
    m_messages << text;
    if (m_out == nullptr)
        return;
    const char* prefix =
        icon == Icon::Error ? "error: " : (icon == Icon::Warning ? "warning: " : "");
    std::fprintf(m_out, "%s%s\n", prefix, qUtf8Printable(text));
    std::fflush(m_out);
}
