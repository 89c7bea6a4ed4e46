// SPDX-License-Identifier: GPL-2.0-or-later
// Prompter: the questions and messages the program puts to the user. The desktop programs
// show message boxes, the command-line tool writes to the terminal, and tests install a
// scripted prompter that records the texts and gives planned answers.
#pragma once

#include <QString>

class Prompter {
public:
    enum class Icon { None, Information, Question, Warning, Error };
    // SaveDiscardCancel: Save, Don't save and Cancel, answered as Yes, No and Cancel.
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, SaveDiscardCancel };
    enum class Answer { Ok, Cancel, Yes, No };

    virtual ~Prompter() = default;

    // Asks a question; defaultAnswer is the button that Enter chooses.
    virtual Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer,
                       Icon icon = Icon::Question) = 0;
    // Shows a message with an OK button.
    virtual void message(const QString& text, Icon icon = Icon::Error) = 0;
};

// Writes messages to standard error and answers every question with its default: for a
// program that runs without anyone to ask.
class ConsolePrompter : public Prompter {
public:
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon) override;
    void message(const QString& text, Icon icon) override;
};
