// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/messageboxprompter.h"

namespace
{

// Answers the next message box with button once it is up, and tells what it showed.
struct BoxAnswer {
    QString text;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    int width = 0;
};

void answerNextBox(QMessageBox::StandardButton button, BoxAnswer& seen)
{
    QTimer::singleShot(0, [button, &seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.text = box->text();
        seen.icon = box->icon();
        seen.title = box->windowTitle();
        seen.width = box->width();
        if (box->defaultButton() != nullptr)
            seen.defaultButton = box->standardButton(box->defaultButton());
        if (button == QMessageBox::NoButton)
            box->reject(); // closed without a button
        else
            box->button(button)->click();
    });
}

} // namespace

TEST(MessageBoxPrompter, QuestionsAnswerWithTheButtonPressed)
{
    MessageBoxPrompter prompter;
    BoxAnswer seen;
    answerNextBox(QMessageBox::No, seen);
    EXPECT_EQ(prompter.ask("Exit now?", Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                           Prompter::Icon::Question),
              Prompter::Answer::No);
    EXPECT_EQ(seen.text, QStringLiteral("Exit now?"));
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    answerNextBox(QMessageBox::Cancel, seen);
    EXPECT_EQ(prompter.ask("Save?", Prompter::Buttons::YesNoCancel, Prompter::Answer::No,
                           Prompter::Icon::Warning),
              Prompter::Answer::Cancel);
    EXPECT_EQ(seen.defaultButton, QMessageBox::No);
}

TEST(MessageBoxPrompter, MessagesShowTheirTextAndIcon)
{
    MessageBoxPrompter prompter;
    BoxAnswer seen;
    answerNextBox(QMessageBox::Ok, seen);
    prompter.message("Error loading image", Prompter::Icon::Error);
    EXPECT_EQ(seen.text, QStringLiteral("Error loading image"));
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
}

TEST(MessageBoxPrompter, AShortQuestionIsAsWideAsItsTitle)
{
    // "Vellora Gallivex" over a two-word question used to leave the title bar too narrow.
    MessageBoxPrompter prompter;
    BoxAnswer seen;
    answerNextBox(QMessageBox::Yes, seen);
    prompter.ask("Exit?", Prompter::Buttons::YesNo, Prompter::Answer::No, Prompter::Icon::None);
    EXPECT_EQ(seen.title, QStringLiteral("Vellora Gallivex"));
    EXPECT_GE(seen.width, MessageBoxPrompter::TitleWidth(seen.title));
    const QFontMetrics plain(QApplication::font());
    EXPECT_GT(MessageBoxPrompter::TitleWidth(seen.title),
              plain.horizontalAdvance(seen.title) + 100);
    answerNextBox(QMessageBox::Ok, seen);
    prompter.message("Done.", Prompter::Icon::Information);
    EXPECT_GE(seen.width, MessageBoxPrompter::TitleWidth(seen.title));
}

TEST(MessageBoxPrompter, TheSaveQuestionOffersSaveDontSaveAndCancel)
{
    MessageBoxPrompter prompter;
    QStringList captions;
    BoxAnswer seen;
    auto answerWith = [&](QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [&, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            captions.clear();
            for (QAbstractButton* each : box->buttons())
                captions << each->text();
            seen.defaultButton = box->standardButton(box->defaultButton());
            if (button == QMessageBox::NoButton)
                box->reject();
            else
                box->button(button)->click();
        });
    };
    using Answer = Prompter::Answer;
    const auto ask = [&] {
        return prompter.ask("Save?", Prompter::Buttons::SaveDiscardCancel, Answer::Cancel,
                            Prompter::Icon::Warning);
    };
    answerWith(QMessageBox::Save);
    EXPECT_EQ(ask(), Answer::Yes);
    EXPECT_TRUE(captions.contains(QStringLiteral("&Save")));
    EXPECT_TRUE(captions.contains(QStringLiteral("Do&n't save")));
    EXPECT_EQ(captions.size(), 3);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Cancel);
    answerWith(QMessageBox::Discard);
    EXPECT_EQ(ask(), Answer::No);
    answerWith(QMessageBox::NoButton); // Esc or the window's close button
    EXPECT_EQ(ask(), Answer::Cancel);
}
