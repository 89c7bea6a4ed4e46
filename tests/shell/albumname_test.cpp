// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <deque>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "platform/messageboxprompter.h"
#include "platform/settings.h"
#include "shell/albumname.h"
#include "shell/skin.h"
#include "tests/support/testenv.h"

namespace {

const QString EmptyNameMessage =
    "Empty album name.\n\nPlease name your album with a non-empty string.";

constexpr const char* Cancel = nullptr;

} // namespace

TEST(AlbumNameLoop, AsksUntilTheNameIsNotEmpty)
{
    const struct {
        std::vector<const char*> answers; // what the user confirms each time; Cancel cancels
        std::optional<QString> result;
        int messages;
    } cases[] = {
        {{"Trip"}, QString("Trip"), 0},
        {{"", "", "Trip"}, QString("Trip"), 2},
        {{" "}, QString(" "), 0},
        {{Cancel}, std::nullopt, 0},
        {{"", Cancel}, std::nullopt, 1},
    };
    for (const auto& c : cases) {
        ScriptedPrompter prompter;
        QStringList offered;
        size_t asked = 0;
        const auto result = AskAlbumNameUntilGiven(
            "Summer", prompter, [&](const QString& proposed) -> std::optional<QString> {
                offered << proposed;
                const char* answer = c.answers.at(asked++);
                return answer ? std::optional<QString>(answer) : std::nullopt;
            });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(asked, c.answers.size());
        EXPECT_EQ(prompter.texts, QStringList(c.messages, EmptyNameMessage));
        ASSERT_FALSE(offered.isEmpty());
        EXPECT_EQ(offered[0], "Summer");
        for (int i = 1; i < offered.size(); ++i)
            EXPECT_EQ(offered[i], ""); // asked again with what was confirmed
    }
}

TEST(AlbumNameDialog, ProposesTheNameAndTakesWhatIsTyped)
{
    CAlbumName dialog("Summer", QImage(), Skin::DefaultBackground);
    EXPECT_EQ(dialog.windowTitle(), "Please name your new album");
    EXPECT_EQ(dialog.NameEdit().text(), "Summer");
    EXPECT_EQ(dialog.OkButton().text(), "OK");
    EXPECT_EQ(dialog.palette().color(QPalette::Window), QColor(159, 161, 143));
    dialog.show();
    // Wide enough for the window manager to show its question whole.
    EXPECT_GE(dialog.width(), MessageBoxPrompter::TitleWidth(dialog.windowTitle()));
    dialog.NameEdit().setText("Trip to the sea");
    dialog.OkButton().click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), "Trip to the sea");
    EXPECT_FALSE(dialog.isVisible());

    CAlbumName unnamed("", QImage(), Skin::DefaultBackground);
    EXPECT_TRUE(unnamed.NameEdit().text().isEmpty());
}

TEST(AlbumNameDialog, AskShowsTheDialogAgainAfterAnEmptyName)
{
    SettingsSandbox sandbox;
    TestFolder program;
    Settings settings;
    Skin skin(settings, program.path());
    ScriptedPrompter prompter;
    // What the user does in each showing: the text typed, then OK; null presses Esc.
    std::deque<const char*> typed = {"", "Holidays"};
    QStringList shownWith;
    QTimer user;
    user.setInterval(5);
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = dynamic_cast<CAlbumName*>(QApplication::activeModalWidget());
        if (dialog == nullptr || typed.empty())
            return;
        shownWith << dialog->NameEdit().text();
        dialog->NameEdit().setText(typed.front());
        typed.pop_front();
        dialog->OkButton().click();
    });
    user.start();
    EXPECT_EQ(CAlbumName::Ask("Summer", prompter, skin), std::optional<QString>("Holidays"));
    EXPECT_EQ(shownWith, (QStringList{"Summer", ""}));
    EXPECT_EQ(prompter.texts, QStringList{EmptyNameMessage});

    typed = {Cancel};
    QObject::disconnect(&user, nullptr, nullptr, nullptr);
    QObject::connect(&user, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget())
            dialog->close();
    });
    EXPECT_EQ(CAlbumName::Ask("Summer", prompter, skin), std::nullopt);
}
