// SPDX-License-Identifier: GPL-2.0-or-later
// Short texts made from a photo's EXIF tags: when and with what it was taken, the exposure,
// and the photo's own description. The image list builds automatic descriptions from them
// and the EXIF dialog copies them into titles and descriptions.
#pragma once

#include <cstdint>

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "platform/imaging.h"

namespace exif {

// Tags read here.
enum Tag : uint32_t {
    TagImageDescription = 270,
    TagMake = 271,
    TagModel = 272,
    TagDateTime = 306,
    TagExposureTime = 33434,
    TagFNumber = 33437,
    TagIsoSpeed = 34855,
    TagDateTimeOriginal = 36867,
    TagShutterSpeedValue = 37377,
    TagApertureValue = 37378,
    TagFlash = 37385,
    TagFocalLength = 37386,
    TagUserComment = 37510,
};

struct Rational {
    int64_t numerator = 0;
    int64_t denominator = 0;
};

// The text of a tag; false when it is missing, empty or not text.
bool ReadExifText(const imaging::Image& image, uint32_t tag, QString& text);
// The first value of a RATIONAL tag (SRATIONAL too when allowSigned).
bool ReadExifRational(const imaging::Image& image, uint32_t tag, Rational& value,
                      bool allowSigned = false);
// The first value of a SHORT tag.
bool ReadExifShort(const imaging::Image& image, uint32_t tag, uint16_t& value);
// When the photo was taken (DateTimeOriginal, else DateTime); true when any number was read.
bool ReadExifDateTime(const imaging::Image& image, QDate& date, QTime& time);

// The text rule for the bytes of a text tag: printable characters are kept, each run of line
// breaks and tabs becomes one "\r\n", other control characters are dropped.
QString ExifTextFromBytes(const QByteArray& bytes);

// One text per field; each raises found when it produced a value.
QString FormatExifDate(const imaging::Image& image, bool& found);
QString FormatExifTime(const imaging::Image& image, bool& found);
QString FormatExifCamera(const imaging::Image& image, bool& found);
QString FormatExifFocalLength(const imaging::Image& image, bool& found);
QString FormatExifShutter(const imaging::Image& image, bool& found);
QString FormatExifFlash(const imaging::Image& image, bool& found);
QString FormatExifAperture(const imaging::Image& image, bool& found);
QString FormatExifIso(const imaging::Image& image, bool& found);

// The photo's description and user comment, once each, followed by blankLines "\r\n".
QString BuildExifDescription(const imaging::Image& image, bool& found, int blankLines);
// As above, with the number of blank lines from the program's settings.
QString BuildExifDescription(const imaging::Image& image, bool& found);

} // namespace exif
