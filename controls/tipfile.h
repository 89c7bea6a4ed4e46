// SPDX-License-Identifier: GPL-2.0-or-later
// TipFile: the tips of the day, one per line, read in turn from a private copy of the shipped
// tips. Lines that start with a blank, a tab or ";" are notes, never shown; after the last tip
// the first follows. The position between tips is what the program remembers between runs.
#pragma once

#include <memory>

#include <QByteArray>
#include <QString>

class QTemporaryFile;

class TipFile
{
public:
    enum class Status { Ok, NoFile, ReadError };

    TipFile();
    ~TipFile();
    TipFile(const TipFile&) = delete;
    TipFile& operator=(const TipFile&) = delete;

    // Writes tips into a new temporary file kept open; false when it cannot be made.
    bool open(const QByteArray& tips);
    bool isOpen() const;
    // Moves to a remembered position; false when the file cannot go there.
    bool seek(qint64 position);
    // The next tip, its line break included; a read error or a file without any tip leaves
    // the status ReadError and gives an empty text.
    QString next();
    qint64 position() const;
    Status status() const { return m_status; }

    // The longest line read at once; longer lines are read in parts, as separate lines.
    static constexpr int LineLimit = 1000;
    // Whether a line is shown as a tip.
    static bool isTipLine(const QByteArray& line);

private:
    bool rewind();

    std::unique_ptr<QTemporaryFile> m_file;
    Status m_status = Status::NoFile;
};
