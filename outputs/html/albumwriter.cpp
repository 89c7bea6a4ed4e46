// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albumwriter.h"

#include <algorithm>

#include <QFile>

namespace
{

// Stream writes take 32-bit counts; pages are written in pieces of this size.
constexpr qsizetype Piece = 1 << 20;

bool writeAll(IStream& stream, const QByteArray& bytes)
{
    for (qsizetype at = 0; at < bytes.size(); at += Piece) {
        const ULONG count = static_cast<ULONG>(std::min(Piece, bytes.size() - at));
        ULONG written = 0;
        if (FAILED(stream.Write(bytes.constData() + at, count, &written)) || written != count)
            return false;
    }
    return SUCCEEDED(stream.Commit(0));
}

} // namespace

ResultCode CAlbumWriter::writeText(const QString& relative, const QString& text)
{
    gv_string path(relative.toUtf8().constData());
    IStream* stream = m_host.CreateAlbumFile(path);
    if (stream == nullptr)
        return GV_E_CREATEFILE;
    const bool written = writeAll(*stream, text.toUtf8());
    m_host.ReleaseStream(stream);
    if (written)
        return GV_OK;
    const QString file = fullPath(relative);
    if (!file.isEmpty())
        QFile::remove(file);
    return GV_E_WRITEFILE;
}

ResultCode CAlbumWriter::copy(const QString& source, const QString& relative)
{
    return m_host.CopyFile(gv_string(source.toUtf8().constData()),
                           gv_string(relative.toUtf8().constData()));
}

QString CAlbumWriter::fullPath(const QString& relative)
{
    gv_string path(relative.toUtf8().constData());
    return QString::fromUtf8(m_host.GetAlbumFilePath(path)->c_str());
}
