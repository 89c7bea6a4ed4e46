#include "plugins/albumgenerator.h"

#include "album/projectfile.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "plugins/destinationcheck.h"
#include "plugins/gallivex_impl.h"

CAlbumGenerator::CAlbumGenerator(CGallivexImpl& host, CDestinationCheck& check,
                                 ProjectFile& projectFile, Prompter& prompter)
    : m_host(host), m_check(check), m_projectFile(projectFile), m_prompter(prompter)
{
}

CAlbumGenerator::Outcome CAlbumGenerator::Generate(const QString& destination, bool saveAtOnce)
{
    Outcome outcome;
    AlbumProject& album = m_host.Album();
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
