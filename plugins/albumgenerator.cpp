// SPDX-License-Identifier: GPL-2.0-or-later
#include "plugins/albumgenerator.h"

#include <QDir>
#include <QFileInfo>

#include "album/albumproject.h"
#include "album/projectfile.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "plugins/destinationcheck.h"
#include "plugins/gallivex_impl.h"
#include "plugins/paramrules.h"

CAlbumGenerator::CAlbumGenerator(CGallivexImpl& host, CDestinationCheck& check,
                                 ProjectFile& projectFile, Prompter& prompter)
    : m_host(host), m_check(check), m_projectFile(projectFile), m_prompter(prompter)
{
}

QStringList CAlbumGenerator::PublishedExtras(AlbumProject& album)
{
    QStringList extras;
    if (album.Parameters(nullptr) < 0)
        return extras;
    for (const GVParamInfo& param : album.ParameterList()) {
        const bool folder = param.type == PT_FOLDER;
        if (!folder && param.type != PT_FILE && param.type != PT_FILE_2)
            continue;
        const GVParamValue* value = paramrules::value(param);
        const QString chosen =
            value != nullptr ? QString::fromUtf8(value->text.c_str()) : QString();
        // What is not there is not published either.
        if (chosen.isEmpty() || !(folder ? QFileInfo(chosen).isDir() : QFileInfo(chosen).isFile()))
            continue;
        const QString path = QDir::toNativeSeparators(chosen);
        extras << QStringLiteral("%1: %2").arg(QString::fromUtf8(param.friendlyName.c_str()),
                                               folder ? loadString(IDS_PUBLISH_FOLDER).arg(path)
                                                      : path);
    }
    return extras;
}

CAlbumGenerator::Outcome CAlbumGenerator::Generate(const QString& destination, bool saveAtOnce)
{
    Outcome outcome;
    AlbumProject& album = m_host.Album();
    // Whatever the user can read may be chosen in a parameter: say what leaves with the
    // album before anything is made.
    const QStringList extras = PublishedExtras(album);
    if (!extras.isEmpty() && m_prompter.ask(loadString(IDS_PUBLISH_EXTRAS).arg(extras.join(u'\n')),
                                            Prompter::Buttons::YesNo, Prompter::Answer::Yes,
                                            Prompter::Icon::Question) != Prompter::Answer::Yes) {
        outcome.result = -1;
        return outcome;
    }
    // A refused folder is refused before it is made, so none is left behind.
    if (!m_check.Acceptable(destination, album)) {
        outcome.result = -1;
        return outcome;
    }
    if (!m_check.PrepareFolder(destination)) {
        outcome.result = GV_E_FILENOTFOUND;
        return outcome;
    }
    if (!m_check.Check(destination, album)) {
        outcome.result = -1;
        return outcome;
    }
    // A new destination is a change of the album: its project file must learn where the
    // album now is.
    const QByteArray folder = destination.toUtf8();
    if (folder != album.Destination().c_str()) {
        album.SetDestination(folder.constData());
        album.MarkModified();
    }
    outcome.plugin = m_host.Generate();
    if (outcome.plugin != GV_OK)
        return outcome;
    outcome.save = SaveIfModified(saveAtOnce, &outcome.saved);
    return outcome;
}

ResultCode CAlbumGenerator::SaveIfModified(bool saveAtOnce, bool* saved)
{
    if (saved != nullptr)
        *saved = false;
    if (!m_host.Album().IsModified())
        return GV_OK;
    if (!saveAtOnce && m_prompter.ask(loadString(IDS_SAVE_CHANGES), Prompter::Buttons::YesNo,
                                      Prompter::Answer::Yes) != Prompter::Answer::Yes)
        return GV_OK;
    const ResultCode result = m_projectFile.SaveProject();
    if (saved != nullptr)
        *saved = true;
    if (result != GV_OK)
        m_prompter.message(QString::fromUtf8(FormatResultMessage(result).c_str()),
                           Prompter::Icon::Error);
    return result;
}
