// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/contenthash.h"

#include <memory>

#include <QFile>

#include <xxhash.h>

namespace
{

constexpr qint64 Piece = 1 << 20;

QString hex(XXH128_hash_t hash)
{
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, hash);
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(canonical.digest), sizeof canonical.digest)
            .toHex());
}

struct StateFree {
    void operator()(XXH3_state_t* state) const { XXH3_freeState(state); }
};

} // namespace

namespace contenthash
{

QString ofFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    const std::unique_ptr<XXH3_state_t, StateFree> state(XXH3_createState());
    if (!state || XXH3_128bits_reset(state.get()) != XXH_OK)
        return QString();
    QByteArray buffer(Piece, Qt::Uninitialized);
    for (;;) {
        const qint64 got = file.read(buffer.data(), Piece);
        if (got < 0)
            return QString();
        if (got == 0)
            break;
        XXH3_128bits_update(state.get(), buffer.constData(), static_cast<size_t>(got));
    }
    return hex(XXH3_128bits_digest(state.get()));
}

QString ofBytes(const QByteArray& bytes)
{
    return hex(XXH3_128bits(bytes.constData(), static_cast<size_t>(bytes.size())));
}

} // namespace contenthash
