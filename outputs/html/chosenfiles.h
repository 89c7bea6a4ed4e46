// SPDX-License-Identifier: GPL-2.0-or-later
// CChosenFiles: puts the files and folders the user chose in a theme's parameters into the
// album. Such a file may be anything the user can read, so only what the parameter means is
// published: a file parameter's picture is decoded and made afresh through the image
// processor, with the camera data the album's pictures get (never the location); a folder's
// plain, visible files are copied, their photos without their GPS position unless the theme's
// choice asks for the originals.
#pragma once

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include "outputs/html/theme.h"
#include "sdk/igallivex.h"

class CAlbumWriter;
class CThemeParams;

class CChosenFiles
{
public:
    static constexpr int MaxFolderFiles = 500;

    CChosenFiles(const html::Theme& theme, const CThemeParams& params, IGallivex& host,
                 CAlbumWriter& writer);

    // Publishes every chosen file and folder and puts what pages need into values: a file's
    // name in the album ("" when none), a folder's list of name, url and size.
    ResultCode publish(QVariantMap& values);

    // Removes the GPS position from a photo's EXIF and XMP data without touching its
    // pictures; true also when the file is no photo or has no position, false when a position
    // could not be removed.
    static bool stripLocation(const QString& path);

private:
    // The picture at chosen made into the album as target (whose extension may change to one
    // the processor writes); "" when chosen is no picture.
    QString publishPicture(const QString& chosen, QString target, ResultCode& result);
    ResultCode publishFolder(const QString& folder, QVariantList& files);

    const html::Theme& m_theme;
    const CThemeParams& m_params;
    IGallivex& m_host;
    CAlbumWriter& m_writer;
};
