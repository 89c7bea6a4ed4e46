// SPDX-License-Identifier: GPL-2.0-or-later
// What the project file tests share: an album over the real test plug-ins, scripted
// prompter, choosers and progress, small real photos, and a folder list of its own.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QStringList>

#include "album/albumproject.h"
#include "album/imagesearch.h"
#include "album/progress.h"
#include "album/projectfile.h"
#include "platform/choosers.h"
#include "tests/support/testenv.h"

// Answers the file and folder dialogs from lists; "" (cancelled) once a list runs out.
class ScriptedChoosers : public Choosers
{
public:
    QString openFile(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFile(const QString& title, const QString& suggested,
                     const QString& filter) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<uint32_t> colour(uint32_t) override { return std::nullopt; }
    bool font(GVFontBlock&) override { return false; }

    std::deque<QString> files;   // answers of openFile and saveFile
    std::deque<QString> folders; // answers of folder
    QStringList calls;           // "save|title|start|filter", "folder|title|start"
};

// Records the reports and asks to cancel at the report of a chosen percent.
class ScriptedProgress : public Progress
{
public:
    struct Log {
        QString title;
        std::vector<int> positions;
        int cancelAt = -1;
        bool alive = false;
    };
    explicit ScriptedProgress(Log& log) : m_log(log) { m_log.alive = true; }
    ~ScriptedProgress() override { m_log.alive = false; }
    void setTitle(const QString& title) override { m_log.title = title; }
    void setPosition(int percent) override { m_log.positions.push_back(percent); }
    void setText(const QString&) override {}
    bool pump() override
    {
        return !m_log.positions.empty() && m_log.positions.back() == m_log.cancelAt;
    }

private:
    Log& m_log;
};

// Writes a real JPEG photo of size w x h filled with colour; returns its path.
QString writePhoto(const QString& path, int width, int height, QColor colour = Qt::red);
// The bytes of a file ("" when it cannot be read).
QByteArray fileBytes(const QString& path);
// The names in a folder, hidden ones included.
QStringList folderEntries(const QString& folder);

// An album over Alpha (templates Classic 10 and Grid 20), Beta (no templates), Plain (no
// version record), with the Classic template chosen and its parameters listed.
class ProjectTest : public ::testing::Test
{
protected:
    static constexpr int Alpha = 0, Beta = 1, Plain = 2;

    void SetUp() override;
    // A fresh album over the same plug-ins, for reading back.
    std::unique_ptr<AlbumProject> freshAlbum() const;
    ProjectFile fileFor(AlbumProject& target) { return projectFile(target); }
    ProjectFile projectFile(AlbumProject& target);
    // Adds an image with its photo at work/relative.
    void addImage(const QString& relative, const char* name, const char* subfolder = "");
    // Sets the first value entry of the named parameter as the user would: kind 4.
    GVParamValue& userValue(const char* name);
    static GVParamInfo* find(AlbumProject& target, const char* name);
    std::string path(const QString& relative) const { return work.file(relative).toStdString(); }

    SettingsSandbox sandbox;
    TestFolder plugins;
    TestFolder work;
    AlbumProject album;
    ScriptedPrompter prompter;
    ScriptedChoosers choosers;
    ImageSearch search;
    ScriptedProgress::Log progress;
    std::string pluginFolder;
};
