// SPDX-License-Identifier: GPL-2.0-or-later
// CPageImages: the image list page's own copy of the album's photos while the page is active.
// Between activation and leaving, the page's rows, not the album, hold the truth; leaving the
// page rebuilds the album's image list from them.
#pragma once

#include <vector>

#include <QString>

#include "album/albumimage.h"

// One row of the page: a photo with its title, description and subfolder text.
struct PageImage {
    QString path;
    QString title;
    QString description; // empty when the photo has none
    QString subfolder;   // set by folder scans that parse subfolders, or by the user
};

class CPageImages
{
public:
    // Activation: the album's photos in album order.
    void LoadFromAlbum(const std::vector<AlbumImage>& images);
    // Leaving the page: the album's list becomes one entry per row, in row order, each with
    // its position as index.
    void SyncPageToAlbum(std::vector<AlbumImage>& images) const;

    void Append(PageImage image) { m_rows.push_back(std::move(image)); }
    void Clear() { m_rows.clear(); }
    bool IsEmpty() const { return m_rows.empty(); }
    size_t Size() const { return m_rows.size(); }
    const std::vector<PageImage>& Rows() const { return m_rows; }
    std::vector<PageImage>& Rows() { return m_rows; }

private:
    std::vector<PageImage> m_rows;
};
