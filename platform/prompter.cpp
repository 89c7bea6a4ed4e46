// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/prompter.h"

#include <cstdio>

Prompter::Answer ConsolePrompter::ask(const QString& text, Buttons, Answer defaultAnswer, Icon)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    return defaultAnswer;
}

void ConsolePrompter::message(const QString& text, Icon icon)
{
    const char* prefix = icon == Icon::Error ? "error: " : (icon == Icon::Warning ? "warning: " : "");
    std::fprintf(stderr, "%s%s\n", prefix, qUtf8Printable(text));
}
