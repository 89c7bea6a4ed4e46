// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albumwriter.h"

#include <algorithm>
#include <cstring>

#include <QFile>
#include <QFileInfo>

#include "outputs/html/contenthash.h"

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

// Compared piece by piece, so that a big page is never held twice.
bool holdsBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.size() != bytes.size() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray piece(std::min(Piece, bytes.size()), Qt::Uninitialized);
    for (qsizetype at = 0; at < bytes.size(); at += Piece) {
        const qsizetype count = std::min(Piece, bytes.size() - at);
        if (file.read(piece.data(), count) != count ||
            std::memcmp(piece.constData(), bytes.constData() + at, static_cast<size_t>(count)) != 0)
            return false;
    }
    return true;
}

bool sameFiles(const QString& one, const QString& other)
{
    QFile a(one);
    QFile b(other);
    if (a.size() != b.size() || !a.open(QIODevice::ReadOnly) || !b.open(QIODevice::ReadOnly))
        return false;
    while (!a.atEnd()) {
        const QByteArray piece = a.read(Piece);
        if (piece.isEmpty() || piece != b.read(Piece))
            return false;
    }
    return b.atEnd();
}

} // namespace

ResultCode CAlbumWriter::writeText(const QString& relative, const QString& text)
{
    QByteArray bytes = text.toUtf8();
    bytes.squeeze(); // the encoder sets aside three bytes a character
    const QString file = fullPath(relative);
    if (!file.isEmpty() && holdsBytes(file, bytes)) {
        claim(relative, {bytes.size(), contenthash::ofBytes(bytes)});
        return GV_OK;
    }
    gv_string path(relative.toUtf8().constData());
    IStream* stream = m_host.CreateAlbumFile(path);
    if (stream == nullptr)
        return GV_E_CREATEFILE;
    const bool written = writeAll(*stream, bytes);
    m_host.ReleaseStream(stream);
    if (written) {
        ++m_changed;
        claim(relative, {bytes.size(), contenthash::ofBytes(bytes)});
        return GV_OK;
    }
    if (!file.isEmpty())
        QFile::remove(file);
    return GV_E_WRITEFILE;
}

ResultCode CAlbumWriter::copy(const QString& source, const QString& relative)
{
    const QString file = fullPath(relative);
    if (!file.isEmpty() && sameFiles(source, file)) {
        claim(relative);
        return GV_OK;
    }
    const ResultCode result = m_host.CopyFile(gv_string(source.toUtf8().constData()),
                                              gv_string(relative.toUtf8().constData()));
    if (result == GV_OK) {
        ++m_changed;
        claim(relative);
    }
    return result;
}

QString CAlbumWriter::fullPath(const QString& relative)
{
    gv_string path(relative.toUtf8().constData());
    return QString::fromUtf8(m_host.GetAlbumFilePath(path)->c_str());
}

void CAlbumWriter::claim(const QString& relative, const CAlbumManifest::File& known)
{
    m_claimed[relative] = known;
}

std::map<QString, CAlbumManifest::File> CAlbumWriter::files()
{
    std::map<QString, CAlbumManifest::File> files;
    for (const auto& [relative, known] : m_claimed) {
        const QString path = fullPath(relative);
        const QFileInfo info(path);
        if (path.isEmpty() || !info.isFile())
            continue;
        CAlbumManifest::File file = known;
        // What others changed after claiming it (a location removed) is read again.
        if (file.size != info.size() || file.hash.isEmpty())
            file = {info.size(), contenthash::ofFile(path)};
        if (!file.hash.isEmpty())
            files.emplace(relative, file);
    }
    return files;
}
