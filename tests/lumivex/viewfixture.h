// SPDX-License-Identifier: GPL-2.0-or-later
// The view tests' window: a real document, the view in a main window with the editor's
// status bar (its progress bar follows the view), and photos made for the tests on disk.
#pragma once

#include <memory>

#include <QImage>
#include <QMainWindow>
#include <QString>
#include <gtest/gtest.h>

#include "enhancer/lumivexdoc.h"
#include "enhancer/ui/lumivexview.h"
#include "tests/support/testenv.h"

class CStatusBarWithProgress;

class ViewFixture : public ::testing::Test
{
protected:
    ViewFixture();
    ~ViewFixture() override;

    // A PNG of width x height in four coloured quarters (red top left, green top right,
    // blue bottom left, yellow bottom right), written into the test folder.
    QString MakeQuarters(int width, int height, const QString& name = QStringLiteral("q.png"));
    // Opens path in the document and shows the window, as opening a photo does.
    void Open(const QString& path);
    // The document's image as a picture, top row first.
    QImage DocumentPicture() const;
    // What the view's client area shows now.
    QImage ViewPicture() const;
    // Drags with the left button over the view's client area.
    void Drag(QPoint from, QPoint to);
    void PressKey(int key);
    // Runs the event loop until the running edit has ended (fails the test after a minute).
    void WaitForEdit();
    // Saves widget's picture under build/screenshots/lumivex/.
    static void Shoot(QWidget& widget, const QString& name);

    SettingsSandbox m_settings;
    TestFolder m_folder;
    ScriptedPrompter m_prompter;
    CLumivexDoc m_document;
    QMainWindow m_window;
    CStatusBarWithProgress* m_statusBar = nullptr;
    CLumivexView* m_view = nullptr;
};
