// SPDX-License-Identifier: GPL-2.0-or-later
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/settings.h"

TestFolder::TestFolder()
{
    m_dir.setAutoRemove(true);
}

QString TestFolder::write(const QString& relative, const QByteArray& bytes) const
{
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
    return path;
}

SettingsSandbox::SettingsSandbox()
{
    Settings::setRoot(m_folder.path());
}

SettingsSandbox::~SettingsSandbox()
{
    // Leave the scopes somewhere harmless rather than at a folder that is about to vanish.
    Settings::setRoot(QDir::tempPath() + QStringLiteral("/gallivex-tests-settings"));
}

QString testPluginPath(const QString& name)
{
    return QStringLiteral(GVTEST_PLUGIN_DIR "/lib") + name + QStringLiteral(".so");
}

std::string installTestPlugins(const QString& folder, const QStringList& names)
{
    QDir().mkpath(folder);
    for (const QString& name : names)
        QFile::copy(testPluginPath(name), QDir(folder).filePath(QFileInfo(testPluginPath(name)).fileName()));
    return folder.toStdString();
}

QString binFolder()
{
    return QStringLiteral(GVTEST_BIN_DIR);
}

QString sharedTestData(const QString& relative)
{
    const QString path = QDir(QStringLiteral(GVTEST_DATA_DIR)).filePath(relative);
    if (!QFileInfo::exists(path))
        ADD_FAILURE() << "the test data file " << path.toStdString()
                      << " is missing: the tests read their photos from tests/data in the source tree";
    return path;
}

EnvironmentValue::EnvironmentValue(const char* name, const QByteArray& value)
    : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name))
{
    qputenv(name, value);
}

EnvironmentValue::~EnvironmentValue()
{
    if (m_had)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

QStringList entriesOf(const QString& folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

Prompter::Answer ScriptedPrompter::ask(const QString& text, Buttons, Answer defaultAnswer, Icon)
{
    texts << text;
    if (answers.empty())
        return defaultAnswer;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

void ScriptedPrompter::message(const QString& text, Icon)
{
    texts << text;
}
