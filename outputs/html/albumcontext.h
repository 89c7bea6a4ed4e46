// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumContext: what the pages of a theme can show, as the values its templates read.
//
//   album.title, album.count, album.photos, album.groups, album.sheets, album.hasGroups,
//   album.startPage, album.photoPage (the photo pages' file with "{number}", "" for none),
//   album.description (a "Description" parameter's text, "" without one), album.lang (the
//   language of the user's locale, "en", "de"...), album.favicon (the first photo's
//   "favicon" picture), album.cover (its first picture near 1200 pixels wide: url, width,
//   height)
//   params.<Name>             every parameter (colours "#rrggbb", fonts as CSS, files as the
//                             album's copy, folders as lists of copied files)
//   theme.name, theme.id
//   photo fields              number, index, title (as typed; a file name without its
//                             extension), alt (the description, else the title, else
//                             "Photo N"), description, subfolder, group, anchor, page, sheet,
//                             original (url and name of the photo's file offered for
//                             download, "" when none), camera (a list of label and value,
//                             empty unless the album keeps camera data), placeholder
//                             ("#rrggbb"), placeholderUrl (data: URI or ""), and per picture
//                             <name>.url/.width/.height, .srcset/.webpSrcset/.avifSrcset
//                             ("url 640w, ...") and .widths
//   group fields              title, anchor, number, photos
//   sheet pages               sheet (number, file, photos, prev, next), sheets (number,
//                             file, current, near, gapBefore: the pager of small screens)
//   photo pages               photo, prev, next, first, last
//   every page                page.file
#pragma once

#include <vector>

#include <QLocale>
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

    // The title a page shows: what the user typed, except that the photo's own file name (the
    // title every added photo starts with) loses its extension.
    static QString shownTitle(const QString& title, const QString& photoPath);
    // Words for the picture: its description on one line, else its shown title, else
    // "Photo N".
    static QString altText(const QString& description, const QString& shownTitle, int number);
    // The language of the pages, "en" when the locale names none.
    static QString pageLanguage(const QLocale& locale);
    // The album's description: the text of a parameter named "Description", any case.
    static QString albumDescription(const QVariantMap& params);

    // A numbered page's file name: pattern with {number} replaced.
    static QString numbered(const QString& pattern, int number);
    // Which sheets (by number from 1; entries 0 and count + 1 stay false) a small screen's
    // pager shows around the current one: "1 … 7 8 9 … 19".
    static std::vector<bool> nearSheets(int number, int count);

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
    QString photoPagePattern() const;

    QVariantMap photoValue(const html::AlbumPhoto& photo, int number) const;
    QVariantList buildGroups() const;
    void linkPages(int perSheet);

    const html::Theme& m_theme;
    const std::vector<html::PhotoPictures>& m_pictures;
    const std::vector<QString>& m_pictureNames;
    std::vector<html::AlbumPhoto>& m_photos;
    int m_perSheet = 0;
    bool m_showCamera = false;
    QVariantList m_photoValues;
    QVariantMap m_base;
};
