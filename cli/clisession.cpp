// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/clisession.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <QDir>
#include <QFileInfo>

#include "cli/cliarguments.h"
#include "cli/terminalprogress.h"
#include "platform/stringtable.h"
#include "platform/terminal.h"

CliSession::CliSession(const CliArguments& arguments)
    : m_prompter(arguments.has(QStringLiteral("--yes"))),
      m_projectFile(m_host.Album(), m_prompter, m_choosers)
{
    const QStringList folders = arguments.values(QStringLiteral("--plugins"));
    if (!folders.isEmpty()) {
        std::vector<std::string> list;
        for (const QString& folder : folders)
            list.push_back(absolutePath(folder).toStdString());
        album().PluginManager().SetPluginFolders(list);
    }
}

void CliSession::showProgress()
{
    album().SetProgressFactory(
        [] { return std::make_unique<TerminalProgress>(stderr, TerminalProgress::Style::Auto); });
}

bool CliSession::start()
{
    if (album().Initialise())
        return true;
    cliFail(loadString(IDS_INIT_FAILED));
    return false;
}

bool CliSession::openProject(const QString& path)
{
    const QString file = absolutePath(path);
    if (!QFileInfo(file).isFile()) {
        cliFail(QStringLiteral("cannot open the album \"%1\": there is no such file").arg(path));
        return false;
    }
    const ResultCode result = m_projectFile.OpenProject(file.toUtf8().constData(), false);
    if (result != GV_OK) {
        cliFail(QStringLiteral("cannot open the album \"%1\": %2")
                    .arg(path, QString::fromUtf8(FormatResultMessage(result).c_str())));
        return false;
    }
    const AlbumSummary& summary = album().Summary();
    if (album().PluginIndex() < 0) {
        cliFail(QStringLiteral("the album \"%1\" is made with the output plug-in \"%2\", which is "
                               "not installed")
                    .arg(path, QString::fromUtf8(summary.pluginName.c_str())));
        return false;
    }
    if (album().TemplateId() < 0) {
        cliFail(QStringLiteral("the album \"%1\" uses the theme \"%2\" of the plug-in \"%3\", "
                               "which is not installed")
                    .arg(path, QString::fromUtf8(summary.templateName.c_str()),
                         QString::fromUtf8(summary.pluginName.c_str())));
        return false;
    }
    return true;
}

bool CliSession::save()
{
    const ResultCode result = m_projectFile.SaveProject();
    if (result == GV_OK)
        return true;
    cliFail(QStringLiteral("cannot save the album \"%1\": %2")
                .arg(QString::fromUtf8(album().ProjectPath().c_str()),
                     QString::fromUtf8(FormatResultMessage(result).c_str())));
    return false;
}

QString CliSession::absolutePath(const QString& path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

int cliFail(const QString& text)
{
    std::fprintf(stderr, "gallivex-cli: %s\n", qUtf8Printable(platform::forStream(text, stderr)));
    std::fflush(stderr);
    return 1;
}

void cliWarn(const QString& text)
{
    std::fprintf(stderr, "gallivex-cli: warning: %s\n",
                 qUtf8Printable(platform::forStream(text, stderr)));
    std::fflush(stderr);
}

void cliPrint(const QString& text)
{
    std::fprintf(stdout, "%s\n", qUtf8Printable(platform::forStream(text, stdout)));
    std::fflush(stdout);
}
