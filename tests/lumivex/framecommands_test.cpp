// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's command table without a window: texts, keys, hints, enabling and busy rules.
#include <gtest/gtest.h>

#include <set>

#include "enhancer/ui/commandtable.h"
#include "enhancer/ui/lumivexcommands.h"
#include "tests/support/testenv.h"

namespace
{

CommandState withImage()
{
    CommandState state;
    state.image = true;
    state.zoom = 1.0;
    state.minimumZoom = 0.2;
    return state;
}

const std::set<int> alwaysEnabled = {ID_FILE_NEW,       ID_FILE_OPEN,       ID_FILE_PRINT_SETUP,
                                     ID_FILE_MRU_FILE1, ID_APP_EXIT,        ID_VIEW_TOOLBAR,
                                     ID_VIEW_STATUS_BAR, ID_HELP_FINDER,    ID_APP_ABOUT};

} // namespace

TEST(FrameCommandTable, EveryCommandHasItsMenuTextAndHint)
{
    EXPECT_EQ(CommandTable::Find(ID_FILE_OPEN)->menuText, QStringLiteral("&Open...\tCtrl+O"));
    EXPECT_EQ(CommandTable::Find(ID_CROP_3_2)->menuText, QStringLiteral("Proportional &3:2 "));
    EXPECT_EQ(CommandTable::Find(ID_ZOOM_FIT)->menuText, QStringLiteral("Zoom best fit\t'*'"));
    EXPECT_EQ(CommandTable::Find(ID_APP_ABOUT)->menuText, QStringLiteral("&About Lumivex..."));
    const CommandInfo rotate = *CommandTable::Find(ID_ROTATE_90CCW);
    EXPECT_EQ(rotate.statusPrompt, QStringLiteral("Rotate Conter Clockwise"));
    EXPECT_EQ(rotate.tooltip, QStringLiteral("Rotate Conter Clockwise"));
    const CommandInfo zoom = *CommandTable::Find(ID_ZOOM_ACTUAL);
    EXPECT_EQ(zoom.statusPrompt, QStringLiteral("Zoom 1:1"));
    EXPECT_EQ(zoom.tooltip, QStringLiteral("Zoom 100%"));
    // The list buttons have only a tooltip.
    EXPECT_TRUE(CommandTable::Find(ID_NEXT_IMAGE)->statusPrompt.isEmpty());
    EXPECT_EQ(CommandTable::Find(ID_NEXT_IMAGE)->tooltip, QStringLiteral("Next image"));
    EXPECT_EQ(CommandTable::Find(ID_CROP_KEEP_PROPORTIONS)->tooltip,
              QStringLiteral("Keep Image Aspect Ratio"));
    EXPECT_FALSE(CommandTable::Find(4242).has_value());
    for (const int id : CommandTable::Ids()) {
        const std::optional<CommandInfo> info = CommandTable::Find(id);
        ASSERT_TRUE(info.has_value()) << id;
        // Every toolbar and menu command tells the user what it does.
        EXPECT_FALSE(info->statusPrompt.isEmpty() && info->tooltip.isEmpty()) << id;
    }
}

TEST(FrameCommandTable, KeysAreTheAcceleratorsWithTheKeypadOnes)
{
    const auto keys = [](int id) { return CommandTable::Find(id)->keys; };
    EXPECT_EQ(keys(ID_ENHANCE_COLORS).value(0), QKeySequence(Qt::CTRL | Qt::Key_E));
    EXPECT_EQ(keys(ID_RESIZE).value(0), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_EQ(keys(ID_CROP_FREE).value(0), QKeySequence(Qt::CTRL | Qt::Key_R));
    EXPECT_EQ(keys(ID_RED_EYES).value(0), QKeySequence(Qt::CTRL | Qt::Key_Y));
    ASSERT_EQ(keys(ID_EDIT_UNDO).size(), 2);
    EXPECT_EQ(keys(ID_EDIT_UNDO).value(1), QKeySequence(Qt::ALT | Qt::Key_Backspace));
    EXPECT_TRUE(keys(ID_ZOOM_IN).contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Plus)));
    EXPECT_TRUE(keys(ID_ZOOM_FIT).contains(QKeySequence(Qt::KeypadModifier | Qt::Key_Asterisk)));
    EXPECT_TRUE(keys(ID_CROP_3_2).isEmpty());
    // No key runs two commands.
    std::set<QString> seen;
    for (const int id : CommandTable::Ids())
        for (const QKeySequence& key : keys(id))
            EXPECT_TRUE(seen.insert(key.toString()).second) << key.toString().toStdString();
}

TEST(FrameCommandTable, WithoutAnImageOnlyTheAlwaysCommandsAreEnabled)
{
    const CommandState empty;
    for (const int id : CommandTable::Ids())
        EXPECT_EQ(CommandTable::IsEnabled(id, empty), alwaysEnabled.count(id) == 1) << id;
}

TEST(FrameCommandTable, AnImageEnablesTheEditsButNotUndoOrTheList)
{
    const CommandState state = withImage();
    for (const int id : CommandTable::Ids()) {
        const bool expected = id != ID_EDIT_UNDO && id != ID_PREVIOUS_IMAGE && id != ID_NEXT_IMAGE;
        EXPECT_EQ(CommandTable::IsEnabled(id, state), expected) << id;
    }
}

TEST(FrameCommandTable, UndoNeedsBothAnUndoStateAndAnImage)
{
    CommandState state = withImage();
    state.undoOrRedo = true;
    EXPECT_TRUE(CommandTable::IsEnabled(ID_EDIT_UNDO, state));
    state.image = false;
    EXPECT_FALSE(CommandTable::IsEnabled(ID_EDIT_UNDO, state));
}

TEST(FrameCommandTable, ZoomLimits)
{
    CommandState state = withImage();
    state.zoom = 9.99;
    EXPECT_TRUE(CommandTable::IsEnabled(ID_ZOOM_IN, state));
    state.zoom = 10.0;
    EXPECT_FALSE(CommandTable::IsEnabled(ID_ZOOM_IN, state));
    // Zoom out stays while half the zoom is above the minimum, strictly.
    state.zoom = 0.41;
    state.minimumZoom = 0.2;
    EXPECT_TRUE(CommandTable::IsEnabled(ID_ZOOM_OUT, state));
    state.zoom = 0.4;
    EXPECT_FALSE(CommandTable::IsEnabled(ID_ZOOM_OUT, state));
    state.image = false;
    state.zoom = 1.0;
    EXPECT_FALSE(CommandTable::IsEnabled(ID_ZOOM_IN, state));
}

TEST(FrameCommandTable, PreviousAndNextFollowTheList)
{
    CommandState state = withImage();
    state.canGoNext = true;
    EXPECT_TRUE(CommandTable::IsEnabled(ID_NEXT_IMAGE, state));
    EXPECT_FALSE(CommandTable::IsEnabled(ID_PREVIOUS_IMAGE, state));
    state.canGoPrevious = true;
    state.canGoNext = false;
    EXPECT_TRUE(CommandTable::IsEnabled(ID_PREVIOUS_IMAGE, state));
    EXPECT_FALSE(CommandTable::IsEnabled(ID_NEXT_IMAGE, state));
}

TEST(FrameBusyCheck, RunningEditWinsOverCroppingAndIsTold)
{
    ScriptedPrompter prompter;
    EXPECT_TRUE(CommandTable::PassBusyCheck({}, prompter));
    EXPECT_TRUE(prompter.texts.isEmpty());
    EXPECT_FALSE(CommandTable::PassBusyCheck({true, true}, prompter));
    EXPECT_FALSE(CommandTable::PassBusyCheck({false, true}, prompter));
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(prompter.texts.at(0),
              QStringLiteral("Please wait until previous operation finishes or press Esc to "
                             "cancel it"));
    EXPECT_EQ(prompter.texts.at(1),
              QStringLiteral("Please finish image cropping or press Esc to cancel it"));
}

TEST(FrameBusyCheck, CommandsThatTouchTheImageAreChecked)
{
    for (const int id : {ID_ENHANCE_COLORS, ID_RESIZE, ID_CROP_FREE, ID_CROP_3_2, ID_SHARPEN,
                         ID_RED_EYES, ID_ROTATE_90CW, ID_FLIP_VERTICAL, ID_ZOOM_IN, ID_ZOOM_OUT,
                         ID_EDIT_UNDO, ID_FILE_OPEN, ID_NEXT_IMAGE, ID_PREVIOUS_IMAGE})
        EXPECT_TRUE(CommandTable::NeedsBusyCheck(id)) << id;
    // Looking, saving and leaving stay possible while an edit runs.
    for (const int id : {ID_ZOOM_ACTUAL, ID_ZOOM_FIT, ID_FILE_SAVE, ID_APP_EXIT, ID_APP_ABOUT,
                         ID_HELP_FINDER, ID_CROP_4_3})
        EXPECT_FALSE(CommandTable::NeedsBusyCheck(id)) << id;
}

TEST(FrameCommandTable, UndoTooltipSwapsWithTheButtonPicture)
{
    EXPECT_EQ(CommandTable::UndoTooltip(true), QStringLiteral("Undo"));
    EXPECT_EQ(CommandTable::UndoTooltip(false), QStringLiteral("Redo"));
}
