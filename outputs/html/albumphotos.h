// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumPhotos: the album's photos as the generation works on them, read through the host:
// texts, where each photo is and the names of its pictures. A picture's name is made from what
// identifies the photo's content (the host's fingerprint, its size and its EXIF side file)
// and from the picture's recipe, so an unchanged photo keeps its file names from one
// generation to the next and a re-publish sends only what changed. Photos with the same
// content share their pictures; photos that no longer exist are left out.
#pragma once

#include <functional>
#include <vector>

#include <QString>

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
    ResultCode collect(IGallivex& host, const CPictureMaker& maker, const Progress& progress);

    std::vector<html::AlbumPhoto>& photos() { return m_photos; }
    std::vector<html::PhotoPictures>& pictures() { return m_pictures; }
    // Leaves out the photos whose pictures could not be made.
    void dropUnmade();

private:
    QString contentKey(IGallivex& host, int index, const QString& path) const;

    std::vector<html::AlbumPhoto> m_photos;
    std::vector<html::PhotoPictures> m_pictures;
};
