// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/exifreader.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include <QLocale>
#include <QRegularExpression>

#include "platform/settings.h"

namespace exif {

namespace {

// Appends one character by the text rule; breakRun says whether the previous character was
// a line break or tab that already produced "\r\n".
void appendByRule(QString& out, char32_t c, bool& breakRun)
{
    if (c >= 28) {
        out += QString::fromUcs4(&c, 1);
        breakRun = false;
    } else if (c >= 9 && c <= 13) {
        if (!breakRun)
            out += QStringLiteral("\r\n");
        breakRun = true;
    } else {
        breakRun = false;
    }
}

QString applyRule(const QString& decoded)
{
    QString out;
    bool breakRun = false;
    for (char32_t c : decoded.toUcs4())
        appendByRule(out, c, breakRun);
    return out;
}

bool isValidUtf8(const QByteArray& bytes)
{
    return QString::fromUtf8(bytes).toUtf8() == bytes;
}

// UTF-16 in whichever byte order the zero bytes of mostly Latin text point to.
QString decodeUtf16(const QByteArray& bytes)
{
    int zeroEven = 0, zeroOdd = 0;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        zeroEven += bytes[i] == 0;
        zeroOdd += bytes[i + 1] == 0;
    }
    const bool littleEndian = zeroOdd >= zeroEven;
    QString text;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<uchar>(bytes[littleEndian ? i : i + 1]);
        const auto hi = static_cast<uchar>(bytes[littleEndian ? i + 1 : i]);
        text += QChar(static_cast<char16_t>(hi << 8 | lo));
    }
    return text;
}

// The text of a UserComment-style value: an 8-byte character code, then the text.
bool decodeCommentValue(const QByteArray& value, QString& text)
{
    if (value.size() >= 6 && value.startsWith("ASCII")) {
        qsizetype start = 5;
        while (start < value.size() && value[start] == 0)
            ++start;
        text = ExifTextFromBytes(value.mid(start));
        return true;
    }
    if (value.size() < 8)
        return false;
    if (value.startsWith(QByteArray("UNICODE\0", 8))) {
        text = applyRule(decodeUtf16(value.mid(8)));
        return true;
    }
    if (value.left(8) == QByteArray(8, '\0')) { // no character code: plain text follows
        text = ExifTextFromBytes(value.mid(8));
        return true;
    }
    return false; // JIS and unknown codes
}

int64_t readUInt32(const char* bytes)
{
    uint32_t value;
    std::memcpy(&value, bytes, 4); // item values are little-endian, like this machine
    return value;
}

int64_t readInt32(const char* bytes)
{
    int32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

QString localTimeFormat()
{
    // The locale's long time format without the time zone, which photos do not record.
    QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    format.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
    return format.trimmed();
}

QString trimTrailingBlanks(QString text)
{
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

} // namespace

QString ExifTextFromBytes(const QByteArray& bytes)
{
    // Texts written as UTF-8 keep their accents; anything else is taken byte by byte and
    // characters above 127 are dropped.
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && static_cast<uchar>(c) < 128;
    if (!ascii && isValidUtf8(bytes))
        return applyRule(QString::fromUtf8(bytes));
    QString out;
    bool breakRun = false;
    for (char c : bytes)
        appendByRule(out, static_cast<signed char>(c) < 0 ? 0 : static_cast<char32_t>(c), breakRun);
    return out;
}

bool ReadExifText(const imaging::Image& image, uint32_t tag, QString& text)
{
    const auto item = image.property(tag);
    if (!item || item->value.isEmpty())
        return false;
    if (item->type == imaging::PropertyUndefined)
        return decodeCommentValue(item->value, text);
    if (item->type != imaging::PropertyAscii)
        return false;
    text = ExifTextFromBytes(item->value);
    return true;
}

bool ReadExifRational(const imaging::Image& image, uint32_t tag, Rational& value, bool allowSigned)
{
    const auto item = image.property(tag);
    if (!item || item->value.size() < 8)
        return false;
    const char* bytes = item->value.constData();
    if (item->type == imaging::PropertyRational) {
        value = {readUInt32(bytes), readUInt32(bytes + 4)};
        return true;
    }
    if (allowSigned && item->type == imaging::PropertySRational) {
        value = {readInt32(bytes), readInt32(bytes + 4)};
        return true;
    }
    return false;
}

bool ReadExifShort(const imaging::Image& image, uint32_t tag, uint16_t& value)
{
    const auto item = image.property(tag);
    if (!item || item->type != imaging::PropertyShort || item->value.size() < 2)
        return false;
    std::memcpy(&value, item->value.constData(), 2);
    return true;
}

bool ReadExifDateTime(const imaging::Image& image, QDate& date, QTime& time)
{
    QString text;
    if (!ReadExifText(image, TagDateTimeOriginal, text) && !ReadExifText(image, TagDateTime, text))
        return false;
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const int read = std::sscanf(text.toLatin1().constData(), "%4d:%2d:%2d %2d:%2d:%2d", &year,
                                 &month, &day, &hour, &minute, &second);
    date = QDate(year, month, day);
    time = QTime(hour, minute, second);
    return read >= 1;
}

QString FormatExifDate(const imaging::Image& image, bool& found)
{
    QDate date;
    QTime time;
    if (!ReadExifDateTime(image, date, time) || !date.isValid())
        return QString();
    found = true;
    return QLocale::system().toString(date, QLocale::LongFormat);
}

QString FormatExifTime(const imaging::Image& image, bool& found)
{
    QDate date;
    QTime time;
    if (!ReadExifDateTime(image, date, time) || !time.isValid())
        return QString();
    found = true;
    return QLocale::system().toString(time, localTimeFormat());
}

QString FormatExifCamera(const imaging::Image& image, bool& found)
{
    QString make, model;
    ReadExifText(image, TagMake, make);
    ReadExifText(image, TagModel, model);
    // Cameras pad these fields with blanks.
    make = trimTrailingBlanks(make);
    model = trimTrailingBlanks(model);
    // Many cameras repeat the maker in the model ("Canon" and "Canon DIGITAL IXUS").
    const bool modelNamesMake =
        !make.isEmpty() && model.startsWith(make, Qt::CaseInsensitive) &&
        (model.size() == make.size() || !model.at(make.size()).isLetterOrNumber());
    QString camera = make + model;
    if (modelNamesMake)
        camera = model;
    else if (!make.isEmpty() && !model.isEmpty())
        camera = make + u' ' + model;
    if (!camera.isEmpty())
        found = true;
    return camera;
}

QString FormatExifFocalLength(const imaging::Image& image, bool& found)
{
    Rational value;
    if (!ReadExifRational(image, TagFocalLength, value) || value.denominator == 0)
        return QString();
    found = true;
    return QString::asprintf("%.1f", double(value.numerator) / double(value.denominator));
}

QString FormatExifShutter(const imaging::Image& image, bool& found)
{
    double seconds = 0;
    Rational value;
    if (ReadExifRational(image, TagExposureTime, value)) {
        if (value.numerator == 0 || value.denominator == 0)
            return QString();
        seconds = double(value.numerator) / double(value.denominator);
    } else if (ReadExifRational(image, TagShutterSpeedValue, value, true)) {
        // ShutterSpeedValue is an APEX number: the exposure is 2 to the minus that value.
        if (value.denominator == 0)
            return QString();
        seconds = std::pow(2.0, -double(value.numerator) / double(value.denominator));
    } else {
        return QString();
    }
    found = true;
    if (seconds >= 1.0)
        return QString::asprintf("%.0f", seconds);
    return QString::asprintf("1/%.0f", 1.0 / seconds);
}

QString FormatExifFlash(const imaging::Image& image, bool& found)
{
    uint16_t value = 0;
    if (!ReadExifShort(image, TagFlash, value))
        return QString();
    found = true;
    // Bit 0 says whether the flash fired; the other bits describe its mode and return light.
    return (value & 1) ? QStringLiteral("Yes") : QStringLiteral("No");
}

QString FormatExifAperture(const imaging::Image& image, bool& found)
{
    Rational value;
    double fNumber = 0;
    if (ReadExifRational(image, TagFNumber, value)) {
        if (value.denominator == 0)
            return QString();
        fNumber = double(value.numerator) / double(value.denominator);
    } else if (ReadExifRational(image, TagApertureValue, value)) {
        // ApertureValue is an APEX number: the f-number is the square root of 2 to that value.
        if (value.denominator == 0)
            return QString();
        fNumber = std::pow(2.0, double(value.numerator) / double(value.denominator) / 2.0);
    } else {
        return QString();
    }
    found = true;
    return QString::asprintf("F/%.1f", fNumber);
}

QString FormatExifIso(const imaging::Image& image, bool& found)
{
    uint16_t value = 0;
    if (!ReadExifShort(image, TagIsoSpeed, value))
        return QString();
    found = true;
    return QString::number(value);
}

QString BuildExifDescription(const imaging::Image& image, bool& found, int blankLines)
{
    static const QString placeholder = QStringLiteral("OLYMPUS DIGITAL CAMERA");
    QString description, comment;
    ReadExifText(image, TagImageDescription, description);
    ReadExifText(image, TagUserComment, comment);
    // Cameras fill these fields with blanks to a fixed length; blanks alone say nothing.
    description = trimTrailingBlanks(description);
    comment = trimTrailingBlanks(comment);
    if (description.startsWith(placeholder))
        description.clear();
    if (comment.startsWith(placeholder))
        comment.clear();
    QString result = description;
    if (!description.isEmpty() && !comment.isEmpty() && description != comment)
        result += QStringLiteral("\r\n");
    if (result != comment)
        result += comment;
    if (!result.isEmpty())
        found = true;
    for (int i = 0; i < blankLines; ++i)
        result += QStringLiteral("\r\n");
    return result;
}

QString BuildExifDescription(const imaging::Image& image, bool& found)
{
    const int blankLines = Settings().getInt(QStringLiteral("Settings"),
                                             QStringLiteral("NumberOfBlankLinesForComment"), 0);
    return BuildExifDescription(image, found, blankLines);
}

} // namespace exif
