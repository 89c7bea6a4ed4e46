// SPDX-License-Identifier: GPL-2.0-or-later
// Image files of the photo editor: loading a photo as it is shown (turned and levelled as its
// tags or side file say) into the 24-bit bottom-up record, and saving the record through the
// imaging layer's encoder for the file's extension, keeping the photo's metadata.
#pragma once

#include <cstdint>

#include <QString>

#include "enhancer/dib.h"
#include "platform/imaging.h"

class ImageRecord;

// The editor works on photos of up to 100 megapixels; larger ones are refused from their
// header, before any pixel memory is taken.
constexpr qint64 MaxEditorPixels = 100'000'000;

// The extension of path as the editor compares it: from the last dot of the file name on,
// the dot included ("" when the name has none).
QString ImageFileExtension(const QString& path);
// The MIME type the extension table gives path's extension (compared without case), "" when
// the table has none.
QString EncoderMimeType(const QString& path);
// True when the table has path's extension and the imaging layer can write that type.
bool HasEncoder(const QString& path);

// Loads path into image: a bare buffer with its header, the path set and the derived values
// recomputed; *format, when given, is the type the file's contents turned out to be. False,
// with the reason in *reason when given, leaves image without pixels.
bool LoadImageFile(const QString& path, ImageRecord& image, QString* reason = nullptr,
                   imaging::RawFormat* format = nullptr);

// The name of a file of that type ("HEIF photos") when the editor opens such photos but keeps
// them as they are, for it writes none of that type; "" for the types it saves.
QString KeptOriginalType(imaging::RawFormat format);

// A name for the edited copy of path in its folder with the extension (".jpg"): the photo's
// own name with that extension, or "-edited", "-edited-2", ... added until the name is free.
QString FreeNameBeside(const QString& path, const QString& extension);

// Writes the pixels to path with the encoder of its extension. The file is written beside the
// target and renamed over it, so a failure leaves the old file as it was. When
// metadataSource names the photo the pixels came from, its metadata go along (upright, without
// levels: the pixels carry them), and a side file of path stops turning or levelling it.
bool SaveImageFile(const QString& path, const BITMAPINFOHEADER& header, const uint8_t* pixels,
                   const QString& metadataSource = QString(), QString* reason = nullptr);
