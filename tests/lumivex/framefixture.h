// SPDX-License-Identifier: GPL-2.0-or-later
// What the main window's tests share: the real window over real photo files copied into a
// temporary folder, settings kept apart, a prompter and file choosers that answer as told,
// and pictures of the window for a person to look at.
#pragma once

#include <memory>

#include <gtest/gtest.h>

#include <QStringList>

#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/mainframe.h"
#include "enhancer/imagerecord.h"
#include "tests/enhancer/corefixture.h"
#include "tests/support/testenv.h"

class QToolButton;
class QWidget;

class FrameTest : public ::testing::Test
{
protected:
    FrameTest();
    ~FrameTest() override;

    // A copy of a camera photo of the test data under name in the temporary folder.
    QString photo(const QString& shared, const QString& name);
    // A small picture of four coloured quarters written as a real file.
    QString quarters(const QString& name);
    // Starts the editor with these command-line parameters and shows its window.
    void start(const QStringList& params);
    CLumivexDoc& doc() { return app->Document(); }
    // Presses a toolbar button with the mouse; false when the button is missing or disabled.
    bool click(int id);
    // Presses a key in the window.
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Waits (pumping events) until a running edit has ended.
    void waitForEdit();
    // Saves a picture of widget as build/screenshots/lumivex/NAME.png.
    static void screenshot(QWidget& widget, const QString& name);
    // Runs check on the modal dialog that opens next, then closes it with close.
    static void onNextDialog(std::function<void(QWidget&)> check);

    SettingsSandbox sandbox;
    TestFolder folder;
    ScriptedPrompter prompter;
    EditorChoosers choosers;
    std::unique_ptr<CLumivexApp> app;
    std::unique_ptr<CMainFrame> frame;
    QStringList opened; // what the help command and links were asked to open
};
