// SPDX-License-Identifier: GPL-2.0-or-later
// CMyCmdLineInfo: the editor's command line. The album builder starts it with "\b" and the
// path of a list file (one photo path a line), and "\w" and the number that identifies the
// album builder; any other parameter is a photo to open.
#pragma once

#include <cstdint>

#include <QString>
#include <QStringList>

class CMyCmdLineInfo {
public:
    // Lines longer than this cannot be file names; they are left out with a problem noted.
    static constexpr qsizetype MaxLineBytes = 4096;

    // Parses one parameter of the command line (without the program's name).
    void ParseParam(const QString& param);
    // Parses every parameter in order.
    void Parse(const QStringList& params);

    int32_t CallerId() const { return m_callerId; }
    // The photos of the list file, in order.
    const QStringList& FileList() const { return m_fileList; }
    // The single photo to open when no list was given ("" when none).
    const QString& FileName() const { return m_fileName; }
    // The editor steps through the list when it holds at least one photo.
    bool ListMode() const { return !m_fileList.isEmpty(); }
    // What went wrong with the list file, one message each, for the user to read.
    const QStringList& Problems() const { return m_problems; }

    // The number of a "\w" parameter: leading blanks, a sign and decimal digits, the rest
    // ignored; 0 when there are no digits; clamped to 32 bits.
    static int32_t ParseDecimal(const QString& text);

private:
    void ReadListFile(const QString& path);
    void AddListLine(QByteArray line, int number);

    int32_t m_callerId = 0;
    QStringList m_fileList;
    QString m_fileName;
    QStringList m_problems;
};
