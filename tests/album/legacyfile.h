// SPDX-License-Identifier: GPL-2.0-or-later
// Project files of the older binary format, put together byte by byte for the tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include <QByteArray>
#include <QString>

#include "album/legacyprojectreader.h"
#include "sdk/gvfontblock.h"
#include "sdk/gvparaminfo.h"
#include "tests/album/projectfixture.h"

enum class TextForm { Marked, Line };

// Little-endian numbers and the two forms of texts.
struct LegacyFile {
    QByteArray data;

    LegacyFile& number(int64_t value)
    {
        for (int i = 0; i < 4; ++i)
            data.append(static_cast<char>((uint64_t(value) >> (8 * i)) & 0xff));
        return *this;
    }
    LegacyFile& raw(const QByteArray& bytes)
    {
        data.append(bytes);
        return *this;
    }
    LegacyFile& text(const QByteArray& text, TextForm form)
    {
        if (form == TextForm::Line)
            return raw(text + '\n');
        return number(LegacyProjectReader::TextMarker).number(text.size()).raw(text);
    }
};

struct LegacyValue {
    enum class How { Marked, Fixed, Font };
    int32_t kind = PVK_VALUE;
    How how = How::Marked;
    QByteArray text;
    int32_t number = 0;
    GVFontBlock block;

    static LegacyValue marked(int32_t kind, const QByteArray& text, int32_t number)
    {
        LegacyValue v;
        v.kind = kind;
        v.text = text;
        v.number = number;
        return v;
    }
    // text: at most 260 bytes, padded with NULs.
    static LegacyValue fixed(int32_t kind, const QByteArray& text)
    {
        LegacyValue v = marked(kind, text, 0);
        v.how = How::Fixed;
        return v;
    }
    // Files before version 5 hold a font parameter's value as fixed text instead.
    static LegacyValue fontBlock(int32_t kind, const GVFontBlock& block,
                                 const QByteArray& text = "Arial")
    {
        LegacyValue v = fixed(kind, text);
        v.how = How::Font;
        v.block = block;
        return v;
    }
};

struct LegacyParam {
    int32_t id = 0;
    QByteArray name, friendlyName, description;
    int32_t type = PT_TEXT;
    std::vector<LegacyValue> values;
    std::optional<int64_t> valueCount; // the stored count when not the number of values
};

struct LegacyImage {
    QByteArray name, path, relativePath, description, subfolder;
};

// One older project file with every field; bytes() lays it out for its version.
struct LegacyContent {
    enum class Thumbnail { Argb, Dib, Empty };

    uint32_t version = 10;
    TextForm form = TextForm::Marked;
    uint16_t headerField = 20;
    std::optional<int64_t> imageCount; // the header's count when not the number of images
    char flags[2] = {0, 0};
    QByteArray plugin = "Alpha";
    QByteArray albumName = "Old trip";
    QByteArray rawAlbumName; // when set, written in place of the album name's text
    int32_t templateId = 10;
    QByteArray templateName = "Classic";
    std::optional<int64_t> paramCount; // the stored count when not the number of parameters
    std::vector<LegacyParam> params = typicalParams();
    std::vector<LegacyImage> images = {
        {"First", "/nowhere/a.jpg", "a.jpg", "", "sea"},
        {"Second", "/nowhere/b.jpg", "b.jpg", "Line one", "beach"},
    };
    Thumbnail thumbnail = Thumbnail::Argb;
    std::pair<int32_t, int32_t> argbSize = {4, 2};
    QByteArray destination = "/srv/old";
    QByteArray favorites = "Old fav";

    static std::vector<LegacyParam> typicalParams()
    {
        GVFontBlock block;
        std::strcpy(block.logFont.lfFaceName, "Courier");
        block.logFont.lfWeight = 700;
        block.chooseFont.rgbColors = 0x00FF00FF;
        block.chooseFont.lpLogFont = 0x00401000; // a pointer of the program that wrote it
        return {
            {0,
             "Title",
             "Album title",
             "",
             PT_TEXT,
             {LegacyValue::fixed(PVK_VALUE, "Old trip title")},
             {}},
            {1,
             "Columns",
             "Columns",
             "How many",
             PT_NUMBER,
             {LegacyValue::marked(PVK_USER_VALUE, "", 9)},
             {}},
            {5,
             "TitleFont",
             "Title font",
             "",
             PT_FONT,
             {LegacyValue::fontBlock(PVK_VALUE, block)},
             {}},
        };
    }

    // The typical file with its photos present below folder.
    static LegacyContent typical(const QString& folder)
    {
        LegacyContent content;
        for (LegacyImage& image : content.images) {
            const QString photo = folder + "/photos/" + QString::fromUtf8(image.relativePath);
            writePhoto(photo, 40, 30);
            image.path = photo.toUtf8();
        }
        return content;
    }

    QByteArray bytes() const
    {
        LegacyFile file;
        header(file);
        names(file);
        file.number(paramCount.value_or(int64_t(params.size())));
        for (const LegacyParam& param : params)
            writeParam(file, param);
        if (flags[0] == 0)
            for (const LegacyImage& image : images)
                writeImage(file, image);
        if (version >= 3)
            writeThumbnail(file);
        if (version >= 4) {
            file.text(destination, form);
            if (!destination.isEmpty())
                file.text(favorites, form);
        }
        return file.data;
    }

private:
    void header(LegacyFile& file) const
    {
        file.raw("GVPJ")
            .raw(QByteArray(1, char(headerField & 0xff)))
            .raw(QByteArray(1, char(headerField >> 8)))
            .raw(QByteArray(2, '\0'));
        file.number(version).number(0x5555);
        file.number(imageCount.value_or(int64_t(images.size())));
        file.raw(QByteArray(flags, 2));
    }
    void names(LegacyFile& file) const
    {
        file.number(1).number(3); // meaningless, then the old plug-in index
        file.text(plugin, form).text("unused", form);
        if (version > 2) {
            if (!rawAlbumName.isEmpty())
                file.raw(rawAlbumName);
            else
                file.text(albumName, form);
        }
        file.number(templateId).text(templateName, form);
    }
    void writeParam(LegacyFile& file, const LegacyParam& param) const
    {
        file.number(param.id).text(param.name, form).text(param.friendlyName, form);
        file.text(param.description, form).number(param.type);
        file.number(param.valueCount.value_or(int64_t(param.values.size())));
        for (const LegacyValue& value : param.values) {
            file.number(value.kind);
            if (value.how == LegacyValue::How::Font && param.type == PT_FONT && version >= 5)
                file.raw(
                    QByteArray(reinterpret_cast<const char*>(&value.block), sizeof value.block));
            else if (value.how == LegacyValue::How::Marked)
                file.text(value.text, TextForm::Marked).number(value.number);
            else
                file.raw(value.text.leftJustified(260, '\0', true));
        }
    }
    void writeImage(LegacyFile& file, const LegacyImage& image) const
    {
        file.text(image.name, form).text(image.path, form);
        if (version > 1)
            file.text(image.relativePath, form);
        file.text(image.description, form);
        if (version > 5)
            file.text(image.subfolder, form);
    }
    void writeThumbnail(LegacyFile& file) const
    {
        if (thumbnail == Thumbnail::Dib) {
            // A 24-bit 120 x 120 bitmap: the bottom half blue, the top half red.
            file.number(40).number(120).number(120).number(1 | 24 << 16).number(0);
            file.raw(QByteArray(24, '\0'));
            QByteArray pixels;
            for (int row = 0; row < 120; ++row)
                for (int x = 0; x < 120; ++x)
                    pixels.append(row < 60 ? QByteArray("\xff\0\0", 3) : QByteArray("\0\0\xff", 3));
            file.raw(pixels.leftJustified(LegacyProjectReader::DibPixelsSize, '\0'));
            return;
        }
        file.number(LegacyProjectReader::ArgbThumbnailMarker);
        const auto [width, height] = thumbnail == Thumbnail::Empty ? std::pair(0, 0) : argbSize;
        file.number(width).number(height);
        if (width > 0 && height > 0 && int64_t(width) * height <= 1024)
            for (int i = 0; i < width * height; ++i)
                file.number(int64_t(0xFF00FF00u));
    }
};
