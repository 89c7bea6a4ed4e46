// SPDX-License-Identifier: GPL-2.0-or-later
// What the tests share: temporary folders, settings kept away from the real user's, the test
// plug-in libraries, and a prompter that records what the program says and answers as told.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/prompter.h"

// A fresh folder, removed with everything in it when the test ends.
class TestFolder {
public:
    TestFolder();
    QString path() const { return m_dir.path(); }
    std::string str() const { return m_dir.path().toStdString(); }
    QString file(const QString& relative) const { return m_dir.filePath(relative); }
    // Writes bytes to a file below the folder (creating folders) and returns its path.
    QString write(const QString& relative, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
};

// Points both settings scopes at a temporary folder for the life of the object.
class SettingsSandbox {
public:
    SettingsSandbox();
    ~SettingsSandbox();
    QString root() const { return m_folder.path(); }

private:
    TestFolder m_folder;
};

// Path of a test plug-in library built beside the tests ("gvtest_alpha" ...).
QString testPluginPath(const QString& name);
// Copies the named test plug-ins into folder; returns the folder's path.
std::string installTestPlugins(const QString& folder, const QStringList& names);
// The build's bin folder, where the programs are.
QString binFolder();
// A file of the test data the project carries (tests/data: "photos/NAME" ...). A file that is not
// there is a test failure that names it, so a test without its data says so plainly.
QString sharedTestData(const QString& relative);

// Sets an environment variable for the life of the object, then restores it.
class EnvironmentValue {
public:
    EnvironmentValue(const char* name, const QByteArray& value);
    ~EnvironmentValue();
    EnvironmentValue(const EnvironmentValue&) = delete;
    EnvironmentValue& operator=(const EnvironmentValue&) = delete;

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

// Every entry of a folder, hidden ones included, by name.
QStringList entriesOf(const QString& folder);

class ScriptedPrompter : public Prompter {
public:
    Answer ask(const QString& text, Buttons buttons, Answer defaultAnswer, Icon icon) override;
    void message(const QString& text, Icon icon) override;

    std::deque<Answer> answers; // given in order; the default answer once they run out
    QStringList texts;          // every question and message, in order
};
