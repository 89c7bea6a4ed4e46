// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/pageimages.h"

void CPageImages::LoadFromAlbum(const std::vector<AlbumImage>& images)
{
    m_rows.clear();
    m_rows.reserve(images.size());
    for (const AlbumImage& image : images)
        m_rows.push_back({QString::fromUtf8(image.path.c_str()),
                          QString::fromUtf8(image.name.c_str()),
                          QString::fromUtf8(image.description.c_str()),
                          QString::fromUtf8(image.subfolder.c_str())});
}

void CPageImages::SyncPageToAlbum(std::vector<AlbumImage>& images) const
{
    images.clear();
    images.reserve(m_rows.size());
    for (const PageImage& row : m_rows) {
        AlbumImage image;
        image.path = row.path.toUtf8().constData();
        image.name = row.title.toUtf8().constData();
        image.description = row.description.toUtf8().constData();
        image.subfolder = row.subfolder.toUtf8().constData();
        image.index = static_cast<int32_t>(images.size());
        images.push_back(image);
    }
}
