// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/tipfile.h"

#include <QTemporaryFile>

TipFile::TipFile() = default;
TipFile::~TipFile() = default;

bool TipFile::open(const QByteArray& tips)
{
    auto file = std::make_unique<QTemporaryFile>();
    if (!file->open() || file->write(tips) != tips.size() || !file->seek(0)) {
        m_status = Status::NoFile;
        return false;
    }
    m_file = std::move(file);
    m_status = Status::Ok;
    return true;
}

bool TipFile::isOpen() const
{
    return m_file != nullptr;
}

bool TipFile::seek(qint64 position)
{
    if (!m_file || position < 0 || !m_file->seek(position)) {
        m_status = Status::ReadError;
        return false;
    }
    // A position inside a line (the tips changed since it was stored) moves on to the next
    // line, so a tip is never shown from its middle.
    if (position > 0 && position <= m_file->size()) {
        char before = '\n';
        m_file->seek(position - 1);
        m_file->getChar(&before);
        if (before != '\n') {
            char rest[LineLimit];
            m_file->readLine(rest, LineLimit);
        }
    }
    m_status = Status::Ok;
    return true;
}

bool TipFile::isTipLine(const QByteArray& line)
{
    if (line.isEmpty())
        return false;
    const char first = line.at(0);
    return first != ' ' && first != '\t' && first != '\n' && first != '\r' && first != ';';
}

bool TipFile::rewind()
{
    if (!m_file->seek(0)) {
        m_status = Status::ReadError;
        return false;
    }
    return true;
}

QString TipFile::next()
{
    if (!m_file)
        return QString();
    // Two passes at most: a file of notes only must not spin for ever.
    bool wrapped = false;
    char line[LineLimit];
    for (;;) {
        const qint64 length = m_file->readLine(line, LineLimit);
        if (length > 0) {
            const QByteArray text(line, int(length));
            if (isTipLine(text))
                return QString::fromUtf8(text);
            continue;
        }
        if (wrapped || !rewind()) {
            m_status = Status::ReadError;
            return QString();
        }
        wrapped = true;
    }
}

qint64 TipFile::position() const
{
    return m_file ? m_file->pos() : 0;
}
