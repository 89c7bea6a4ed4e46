// SPDX-License-Identifier: GPL-2.0-or-later
// What the transfer tests share: an album folder made of real photos and small pages, a
// publishing session with a log of its own against a real server on 127.0.0.1, and checks of
// what the server holds.
#pragma once

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "album/progress.h"
#include "platform/settings.h"
#include "publish/albumtransfer.h"
#include "publish/ftplog.h"
#include "publish/ftpsettings.h"
#include "publish/myftpconnection.h"
#include "publish/myinetsession.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

// Progress that records what it was shown and runs a step when the user would act.
class ScriptedProgress : public Progress
{
public:
    void setTitle(const QString& title) override { titles << title; }
    void setPosition(int percent) override { positions.push_back(percent); }
    void setText(const QString& text) override { texts << text; }
    bool pump() override
    {
        return onPump ? onPump(texts.isEmpty() ? QString() : texts.back()) : false;
    }

    QStringList titles, texts;
    std::vector<int> positions;
    // Called with the file shown last; true cancels.
    std::function<bool(const QString&)> onPump;
};

class TransferFixture
{
public:
    explicit TransferFixture(int retries = 2);

    // Opens a passive connection to server; null (and a test failure) when it cannot.
    CMyFtpConnection* Connect(const TestFtpServer& server);
    CMyFtpConnection& Connection() { return *m_connection; }

    // Writes the album: pages, a style sheet, real photos in a folder, a nested folder.
    // version changes every file's first bytes, keeping its size.
    void MakeAlbum(int version = 1);
    QStringList AlbumFiles() const; // relative paths, without filelist.xml
    QString AlbumPath() const { return m_album.path(); }
    QString AlbumFile(const QString& relative) const { return m_album.file(relative); }
    QString WriteAlbumFile(const QString& relative, const QByteArray& bytes) const;

    // Plans and runs a transfer of the album to target on the server.
    AlbumTransfer::Result Publish(const QString& target, Progress* progress = nullptr);
    QString LastPlanMessage() const { return m_planMessage; }

    QString LogText() const;

private:
    SettingsSandbox m_sandbox;
    Settings m_store;
    TestFolder m_work;
    TestFolder m_album;
    FtpLog m_log;
    std::unique_ptr<CMyInetSession> m_session;
    std::unique_ptr<CMyFtpConnection> m_connection;
    QString m_planMessage;
};

// Reads a file below the server's root ("" for a missing one).
QByteArray serverFile(const TestFtpServer& server, const QString& relative);
// Every file below folder of the server's root, relative to it ("album/images/a.jpg").
QStringList serverFiles(const TestFtpServer& server, const QString& folder);
