// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumPhotos: the album's photos as the generation works on them, read through the host:
// texts, where each photo is and the names of its pictures. A picture's name is made from what
// identifies the photo's content (a hash of all its bytes and of its EXIF side file) and from
// the picture's recipe, so an unchanged photo keeps its file names from one generation to the
// next and a re-publish sends only what changed. Photos with the same content share their
// pictures; photos that no longer exist are left out. A photo is read for its hash only when
// the album's manifest does not know it at its present size and time.
#pragma once

#include <functional>
#include <map>
#include <vector>

#include <QString>

#include "outputs/html/albummanifest.h"
#include "outputs/html/picturemaker.h"
#include "sdk/igallivex.h"

namespace html
{

struct AlbumPhoto {
    int index = 0; // in the host's list
    QString title;
    QString description;
    QString subfolder;
    size_t pictures = 0; // which PhotoPictures holds its pictures
    QString originalUrl{};  // its file offered for download, relative to the album; "" for none
    QString originalName{}; // the name the download is offered under
};

} // namespace html

class CAlbumPhotos
{
public:
    // Called now and then with the share done (0..1); returns true to cancel.
    using Progress = std::function<bool(double done)>;

    // GV_OK, GV_CANCELLED, or GV_E_CREATEFILE when the album has no destination to write to.
    // Photos that cannot be read are left out. previous: the album's manifest from its last
    // generation, or null.
    ResultCode collect(IGallivex& host, const CPictureMaker& maker,
                       const CAlbumManifest* previous, const Progress& progress);

    std::vector<html::AlbumPhoto>& photos() { return m_photos; }
    std::vector<html::PhotoPictures>& pictures() { return m_pictures; }
    // Per entry of pictures(): what names the photo's content together with the outputs
    // asked of it, the key of what the manifest remembers of them.
    const std::vector<QString>& pictureKeys() const { return m_keys; }
    // The content hashes of the photos read, for the next manifest.
    const std::map<QString, CAlbumManifest::Photo>& photoHashes() const { return m_hashes; }
    // Leaves out the photos whose pictures could not be made.
    void dropUnmade();

private:
    // "" when the photo cannot be read.
    QString contentKey(IGallivex& host, const QString& path, const CAlbumManifest* previous);

    std::vector<html::AlbumPhoto> m_photos;
    std::vector<html::PhotoPictures> m_pictures;
    std::vector<QString> m_keys;
    std::map<QString, CAlbumManifest::Photo> m_hashes;
};
