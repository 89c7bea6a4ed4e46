// SPDX-License-Identifier: GPL-2.0-or-later
// COriginals: the photos' own files, offered for download beside their pictures when the
// theme's "Download" choice asks for it. "Yes" publishes each file with its metadata reduced
// as the camera-data choice says (Remove: nothing but the turn and the colour profile; Keep
// (without location): no place, serial numbers, owner or maker notes), rewritten without
// touching the picture data; "Yes, untouched originals" publishes the file as it is.
//
// Each copy is named after a hash of the photo's bytes and how it was reduced, so an unchanged
// photo keeps its name (and its copy) from one generation to the next, and photos with the
// same bytes share one copy.
#pragma once

#include <map>
#include <vector>

#include <QByteArray>
#include <QString>

#include "outputs/html/albumphotos.h"
#include "sdk/igallivex.h"

class CAlbumWriter;
class CThemeParams;

class COriginals
{
public:
    enum class Offer { None, Reduced, Untouched };
    static constexpr const char* Parameter = "Download";
    static constexpr const char* Folder = "originals";

    // What the theme's "Download" choice offers ("No", "Yes", "Yes, untouched originals").
    static Offer OfferOf(const CThemeParams& params);

    COriginals(Offer offer, bool keepCameraData, CAlbumWriter& writer);

    // Publishes the file of every photo and sets its original's url and name ("" for both
    // when nothing is offered). A photo whose file cannot be read, or whose private data
    // cannot be removed (formats whose metadata is read only), is offered no download and
    // told on the log; GV_E_CREATEFILE when the album cannot be written.
    ResultCode publish(std::vector<html::AlbumPhoto>& photos,
                       const std::vector<html::PhotoPictures>& pictures);

    // The name in the album of a file with bytes, and extension from its own name.
    QString albumName(const QByteArray& bytes, const QString& sourceName) const;

private:
    // The album's relative path of source's copy, "" when none is offered.
    QString publishOne(const QString& source, ResultCode& result);

    Offer m_offer;
    bool m_keepCameraData;
    CAlbumWriter& m_writer;
    std::map<QString, QString> m_published; // source -> its copy, once per generation
};
