// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/mycmdlineinfo.h"

#include <limits>

#include <QFile>
#include <QStringDecoder>

#include "enhancer/lumivexstrings.h"

void CMyCmdLineInfo::Parse(const QStringList& params)
{
    for (const QString& param : params)
        ParseParam(param);
}

void CMyCmdLineInfo::ParseParam(const QString& param)
{
    if (param.startsWith(QLatin1String("\\w"))) {
        m_callerId = ParseDecimal(param.mid(2));
    } else if (param.startsWith(QLatin1String("\\b"))) {
        ReadListFile(param.mid(2));
    } else if (m_fileName.isEmpty()) {
        m_fileName = param;
    }
}

int32_t CMyCmdLineInfo::ParseDecimal(const QString& text)
{
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    int64_t value = 0;
    constexpr int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(limit, value * 10 + (text[i].unicode() - '0'));
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(std::min(value, limit - 1));
}

void CMyCmdLineInfo::ReadListFile(const QString& path)
{
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        m_problems << loadLumivexString(IDS_LX_LIST_UNREADABLE).arg(path);
        return;
    }
    const qsizetype before = m_fileList.size();
    int number = 0;
    while (!file.atEnd()) {
        // One byte past the limit tells an overlong line from one that just fits.
        QByteArray line = file.readLine(MaxLineBytes + 2);
        ++number;
        if (line.size() > MaxLineBytes && !line.endsWith('\n')) {
            m_problems << loadLumivexString(IDS_LX_LIST_LONG_LINE).arg(number);
            while (!file.atEnd() && !file.readLine(MaxLineBytes + 2).endsWith('\n')) {
            }
            continue;
        }
        AddListLine(std::move(line), number);
    }
    file.close();
    if (m_fileList.size() == before && m_problems.isEmpty())
        m_problems << loadLumivexString(IDS_LX_LIST_EMPTY).arg(path);
    // The list was made for this start only.
    if (!QFile::remove(path))
        m_problems << loadLumivexString(IDS_LX_LIST_NOT_DELETED).arg(path);
}

void CMyCmdLineInfo::AddListLine(QByteArray line, int number)
{
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > MaxLineBytes) {
        m_problems << loadLumivexString(IDS_LX_LIST_LONG_LINE).arg(number);
        return;
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (utf8.hasError() || line.contains('\0')) {
        m_problems << loadLumivexString(IDS_LX_LIST_NOT_UTF8).arg(number);
        return;
    }
    // A blank line names no photo.
    if (!text.isEmpty())
        m_fileList << text;
}
