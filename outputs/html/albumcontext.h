// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumContext: what the pages of a theme can show, as the values its templates read.
//
//   album.title, album.count, album.photos, album.groups, album.sheets, album.hasGroups,
//   album.startPage
//   params.<Name>             every parameter (colours "#rrggbb", fonts as CSS, files as the
//                             album's copy, folders as lists of copied files)
//   theme.name, theme.id
//   photo fields              number, index, title, alt, description, subfolder, group,
//                             anchor, page, sheet, original (url and name of the photo's
//                             file offered for download, "" when none), and per picture
//                             <name>.url/.width/.height
//   group fields              title, anchor, number, photos
//   sheet pages               sheet (number, file, photos, prev, next), sheets
//   photo pages               photo, prev, next, first, last
//   every page                page.file
#pragma once

#include <vector>

#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include "outputs/html/albumphotos.h"
#include "outputs/html/theme.h"

class CAlbumContext
{
public:
    // perSheet: photos per index sheet, 0 when the theme has no sheets.
    CAlbumContext(const html::Theme& theme, const QString& title, const QVariantMap& params,
                  std::vector<html::AlbumPhoto>& photos,
                  const std::vector<html::PhotoPictures>& pictures,
                  const std::vector<QString>& pictureNames, int perSheet);

    // A numbered page's file name: pattern with {number} replaced.
    static QString numbered(const QString& pattern, int number);

    // How many pages of the kind the album has, their files and what each shows, by number
    // from 1.
    int pageCount(const html::PageSpec& spec) const;
    QString pageFile(const html::PageSpec& spec, int number) const;
    QVariantMap page(const html::PageSpec& spec, int number) const;

private:
    QVariantMap albumPage(const QString& file) const;
    QVariantMap sheetPage(const html::PageSpec& spec, int number) const;
    QVariantMap photoPage(const QString& file, int number) const;
    int sheetCount() const;

    QVariantMap photoValue(const html::AlbumPhoto& photo, int number) const;
    QVariantList buildGroups() const;
    void linkPages(int perSheet);

    const html::Theme& m_theme;
    const std::vector<html::PhotoPictures>& m_pictures;
    const std::vector<QString>& m_pictureNames;
    std::vector<html::AlbumPhoto>& m_photos;
    int m_perSheet = 0;
    QVariantList m_photoValues;
    QVariantMap m_base;
};
