// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/ftplisting.h"

#include <array>
#include <utility>

#include <QByteArrayList>
#include <QStringList>
#include <QTime>

namespace
{

using Token = std::pair<qsizetype, qsizetype>; // start and end (exclusive) within the line

std::vector<Token> tokensOf(const QByteArray& line)
{
    std::vector<Token> tokens;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i < n) {
        while (i < n && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        const qsizetype start = i;
        while (i < n && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            tokens.emplace_back(start, i);
    }
    return tokens;
}

QByteArray tokenText(const QByteArray& line, const Token& token)
{
    return line.mid(token.first, token.second - token.first);
}

bool allDigits(const QByteArray& text)
{
    if (text.isEmpty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// 1..12 for an English month abbreviation, 0 otherwise.
int monthOf(const QByteArray& text)
{
    static const std::array<const char*, 12> names = {"jan", "feb", "mar", "apr", "may", "jun",
                                                      "jul", "aug", "sep", "oct", "nov", "dec"};
    const QByteArray lower = text.toLower();
    for (size_t i = 0; i < names.size(); ++i)
        if (lower == names[i])
            return static_cast<int>(i) + 1;
    return 0;
}

// "16:05" gives that time; anything else an invalid one.
QTime clockOf(const QByteArray& text)
{
    const QByteArrayList parts = text.split(':');
    if (parts.size() != 2 || !allDigits(parts[0]) || !allDigits(parts[1]) || parts[0].size() > 2 ||
        parts[1].size() != 2)
        return {};
    return QTime(parts[0].toInt(), parts[1].toInt());
}

// The month, day and time-or-year columns of an "ls -l" line, as a date and time in UTC.
QDateTime unixDate(int month, const QByteArray& day, const QByteArray& timeOrYear,
                   const QDate& today)
{
    if (!allDigits(day) || day.size() > 2)
        return {};
    if (allDigits(timeOrYear) && timeOrYear.size() == 4) {
        const QDate date(timeOrYear.toInt(), month, day.toInt());
        return date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
    }
    const QTime time = clockOf(timeOrYear);
    if (!time.isValid())
        return {};
    // A time instead of a year means within the last half year: a date ahead of today is
    // last year's.
    QDate date(today.year(), month, day.toInt());
    if (date.isValid() && date > today.addDays(1))
        date = QDate(today.year() - 1, month, day.toInt());
    return date.isValid() ? QDateTime(date, time, Qt::UTC) : QDateTime();
}

// Where the month column is: a month name followed by a day and a time or year, after a size.
int monthColumn(const QByteArray& line, const std::vector<Token>& tokens)
{
    for (size_t m = 2; m + 2 < tokens.size(); ++m) {
        if (monthOf(tokenText(line, tokens[m])) == 0 || !allDigits(tokenText(line, tokens[m - 1])))
            continue;
        const QByteArray day = tokenText(line, tokens[m + 1]);
        const QByteArray last = tokenText(line, tokens[m + 2]);
        if (allDigits(day) && (clockOf(last).isValid() || (allDigits(last) && last.size() == 4)))
            return static_cast<int>(m);
    }
    return -1;
}

// "20240102030405" or "20240102030405.123", always UTC.
QDateTime mlsdTime(const QByteArray& text)
{
    const QByteArray digits = text.left(14);
    if (digits.size() != 14 || !allDigits(digits))
        return {};
    const QDate date(digits.mid(0, 4).toInt(), digits.mid(4, 2).toInt(), digits.mid(6, 2).toInt());
    const QTime time(digits.mid(8, 2).toInt(), digits.mid(10, 2).toInt(),
                     digits.mid(12, 2).toInt());
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

bool FtpListing::isPlainName(const QString& name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..") &&
           !name.contains(QLatin1Char('/')) && !name.contains(QChar(0));
}

std::vector<FtpEntry> FtpListing::parse(const QByteArray& listing, Format format,
                                        const QDate& today)
{
    std::vector<FtpEntry> entries;
    for (QByteArray line : listing.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        std::optional<FtpEntry> entry =
            format == Format::Mlsd ? parseMlsdLine(line) : parseListLine(line, today);
        if (entry && isPlainName(entry->name))
            entries.push_back(std::move(*entry));
    }
    return entries;
}

std::optional<FtpEntry> FtpListing::parseMlsdLine(const QByteArray& line)
{
    const qsizetype space = line.indexOf(' ');
    if (space <= 0)
        return std::nullopt;
    FtpEntry entry;
    entry.name = QString::fromUtf8(line.mid(space + 1));
    bool typed = false;
    for (const QByteArray& fact : line.left(space).split(';')) {
        const qsizetype equals = fact.indexOf('=');
        if (equals <= 0)
            continue;
        const QByteArray key = fact.left(equals).toLower();
        const QByteArray value = fact.mid(equals + 1);
        if (key == "type") {
            const QByteArray type = value.toLower();
            if (type == "cdir" || type == "pdir")
                return std::nullopt;
            // Links and devices count as files: never descended into.
            entry.folder = type == "dir";
            typed = true;
        } else if ((key == "size" || key == "sizd") && allDigits(value)) {
            bool ok = false;
            const qint64 size = value.toLongLong(&ok);
            entry.size = ok ? size : -1;
        } else if (key == "modify") {
            entry.modified = mlsdTime(value);
        }
    }
    if (!typed)
        return std::nullopt;
    return entry;
}

std::optional<FtpEntry> FtpListing::parseListLine(const QByteArray& line, const QDate& today)
{
    if (!line.isEmpty() && line[0] >= '0' && line[0] <= '9')
        return parseDosLine(line);
    return parseUnixLine(line, today);
}

std::optional<FtpEntry> FtpListing::parseUnixLine(const QByteArray& line, const QDate& today)
{
    static const QByteArray kinds = "-dlbcps";
    if (line.size() < 10 || !kinds.contains(line[0]))
        return std::nullopt;
    const std::vector<Token> tokens = tokensOf(line);
    const int m = monthColumn(line, tokens);
    if (m < 0)
        return std::nullopt;
    // The name is everything after the single blank that follows the time or year, so that
    // names holding spaces, even several in a row, come through whole.
    const qsizetype nameStart = tokens[m + 2].second + 1;
    if (nameStart >= line.size())
        return std::nullopt;
    QByteArray name = line.mid(nameStart);
    if (line[0] == 'l') {
        const qsizetype arrow = name.indexOf(" -> ");
        if (arrow > 0)
            name.truncate(arrow);
    }
    FtpEntry entry;
    entry.name = QString::fromUtf8(name);
    entry.folder = line[0] == 'd';
    bool ok = false;
    const qint64 size = tokenText(line, tokens[m - 1]).toLongLong(&ok);
    entry.size = ok ? size : -1;
    entry.modified = unixDate(monthOf(tokenText(line, tokens[m])), tokenText(line, tokens[m + 1]),
                              tokenText(line, tokens[m + 2]), today);
    return entry;
}

// "12-07-26  04:05PM       <DIR>          name" and "12-07-26  04:05PM   1234 name".
std::optional<FtpEntry> FtpListing::parseDosLine(const QByteArray& line)
{
    const std::vector<Token> tokens = tokensOf(line);
    if (tokens.size() < 4)
        return std::nullopt;
    const QByteArrayList date = tokenText(line, tokens[0]).split('-');
    QByteArray clock = tokenText(line, tokens[1]).toUpper();
    if (date.size() != 3 || !allDigits(date[0]) || !allDigits(date[1]) || !allDigits(date[2]))
        return std::nullopt;
    const bool pm = clock.endsWith("PM");
    if (!pm && !clock.endsWith("AM"))
        return std::nullopt;
    clock.chop(2);
    QTime time = clockOf(clock);
    if (!time.isValid() || time.hour() > 12 || time.hour() == 0)
        return std::nullopt;
    time = QTime((time.hour() % 12) + (pm ? 12 : 0), time.minute());
    int year = date[2].toInt();
    if (date[2].size() <= 2)
        year += year < 70 ? 2000 : 1900;

    FtpEntry entry;
    const QByteArray kind = tokenText(line, tokens[2]);
    if (kind.toUpper() == "<DIR>") {
        entry.folder = true;
    } else if (allDigits(kind)) {
        bool ok = false;
        const qint64 size = kind.toLongLong(&ok);
        entry.size = ok ? size : -1;
    } else {
        return std::nullopt;
    }
    entry.name = QString::fromUtf8(line.mid(tokens[3].first));
    const QDate day(year, date[0].toInt(), date[1].toInt());
    if (day.isValid())
        entry.modified = QDateTime(day, time, Qt::UTC);
    return entry;
}

bool FtpListing::offersMlsd(const QString& featReply)
{
    const QStringList lines = featReply.split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const QString fact = line.trimmed().toUpper();
        if (fact == QLatin1String("MLST") || fact.startsWith(QLatin1String("MLST ")))
            return true;
    }
    return false;
}
