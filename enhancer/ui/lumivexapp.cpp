// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/lumivexapp.h"

#include <QDir>
#include <QFileInfo>

#include "platform/paths.h"
#include "platform/prompter.h"
#include "shell/imagesavedlistener.h"

namespace
{
const QString RecentSection = QStringLiteral("Recent File List");

QString recentName(int index)
{
    return QStringLiteral("File%1").arg(index + 1);
}
} // namespace

CLumivexApp::CLumivexApp(QString programFolder)
    : m_programFolder(std::move(programFolder)), m_settings(QStringLiteral("Lumivex"))
{
}

bool CLumivexApp::InitInstance(const QStringList& params, Prompter& prompter)
{
    m_cmdLine.Parse(params);
    for (const QString& problem : m_cmdLine.Problems())
        prompter.message(problem, Prompter::Icon::Warning);
    if (m_cmdLine.ListMode())
        return m_doc.StartList(m_cmdLine.FileList(), prompter);
    if (m_cmdLine.FileName().isEmpty())
        return true;
    QString reason;
    if (!m_doc.Load(m_cmdLine.FileName(), &reason)) {
        prompter.message(reason, Prompter::Icon::Error);
        return false;
    }
    AddRecentFile(m_cmdLine.FileName());
    // As every newly opened image does: the windows choose their size and zoom again.
    if (m_doc.listeners.initialUpdate)
        m_doc.listeners.initialUpdate();
    return true;
}

QStringList CLumivexApp::RecentFiles() const
{
    QStringList files;
    for (int i = 0; i < MaxRecentFiles; ++i) {
        const QString path = m_settings.getString(RecentSection, recentName(i));
        if (!path.isEmpty())
            files << path;
    }
    return files;
}

void CLumivexApp::AddRecentFile(const QString& path)
{
    if (path.isEmpty())
        return;
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = RecentFiles();
    files.removeAll(full);
    files.prepend(full);
    WriteRecentFiles(files.mid(0, MaxRecentFiles));
}

void CLumivexApp::RemoveRecentFile(const QString& path)
{
    QStringList files = RecentFiles();
    files.removeAll(path);
    WriteRecentFiles(files);
}

void CLumivexApp::WriteRecentFiles(const QStringList& files)
{
    for (int i = 0; i < MaxRecentFiles; ++i) {
        if (i < files.size())
            m_settings.writeString(RecentSection, recentName(i), files.at(i));
        else
            m_settings.remove(RecentSection, recentName(i));
    }
}

QString CLumivexApp::HelpFile(const QString& page) const
{
    return QDir(platform::shippedFolder(platform::Shipped::Help, m_programFolder))
        .filePath(QStringLiteral("lumivex/") + page);
}

bool CLumivexApp::NotifyImageSaved() const
{
    if (m_cmdLine.CallerId() == 0)
        return false;
    return CImageSavedListener::Send(QString::number(m_cmdLine.CallerId()), WM_IMAGE_SAVED);
}
