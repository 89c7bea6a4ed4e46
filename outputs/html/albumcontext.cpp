// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albumcontext.h"

#include <algorithm>
#include <cstdlib>
#include <map>

#include <QFileInfo>
#include <QRegularExpression>

#include "outputs/html/cameradetails.h"
#include "outputs/html/templatefilters.h"

using namespace html;

namespace
{

constexpr int CoverWidth = 1200;
const QString FaviconPicture = QStringLiteral("favicon");

// The page each photo's own page and index sheet are written to, when the theme has them.
const PageSpec* pageOf(const Theme& theme, PageSpec::Each each)
{
    for (const PageSpec& page : theme.pages)
        if (page.each == each)
            return &page;
    return nullptr;
}

QString groupTitle(const QString& subfolder)
{
    QStringList parts =
        subfolder.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    return parts.join(QStringLiteral(" \u203a "));
}

struct PictureWidth {
    QString url;
    int width = 0;
    int height = 0;
    QString webp;
    QString avif;
};

QString formatOf(const QString& url)
{
    return url.section(u'.', -1).toLower();
}

QString srcset(const std::vector<PictureWidth>& widths, QString PictureWidth::*field)
{
    QStringList candidates;
    for (const PictureWidth& width : widths)
        if (!(width.*field).isEmpty())
            candidates << QStringLiteral("%1 %2w").arg(width.*field).arg(width.width);
    return candidates.join(QStringLiteral(", "));
}

// Every picture as <name>.url/.width/.height (the picture itself), its widths for srcset in
// each format (.srcset, .webpSrcset, .avifSrcset) and as a list, .widths, largest first.
QVariantMap pictureValues(const PhotoPictures& pictures, const std::vector<QString>& names)
{
    std::map<QString, std::vector<PictureWidth>> byName;
    for (size_t i = 0; i < pictures.made.size() && i < names.size(); ++i) {
        const MadePicture& made = pictures.made[i];
        if (made.url.isEmpty())
            continue; // made for the first photo alone
        std::vector<PictureWidth>& widths = byName[names[i]];
        const QString format = formatOf(made.url);
        auto same = std::find_if(widths.begin(), widths.end(),
                                 [&](const PictureWidth& w) { return w.width == made.width; });
        if (same == widths.end()) // a width that collapsed into a larger one is left out
            widths.push_back({made.url, made.width, made.height, {}, {}});
        else if (format == QLatin1String("webp"))
            same->webp = made.url;
        else if (format == QLatin1String("avif"))
            same->avif = made.url;
    }
    QVariantMap values;
    for (const auto& [name, widths] : byName) {
        QVariantList list;
        for (const PictureWidth& width : widths)
            list << QVariantMap{{"url", width.url},   {"width", width.width},
                                {"height", width.height}, {"webp", width.webp},
                                {"avif", width.avif}};
        values[name] = QVariantMap{{"url", widths.front().url},
                                   {"width", widths.front().width},
                                   {"height", widths.front().height},
                                   {"srcset", srcset(widths, &PictureWidth::url)},
                                   {"webpSrcset", srcset(widths, &PictureWidth::webp)},
                                   {"avifSrcset", srcset(widths, &PictureWidth::avif)},
                                   {"widths", list}};
    }
    return values;
}

// What a shared link shows: the first photo's first picture at the width nearest above
// what link previews draw (1200 pixels), or its largest.
QVariantMap coverOf(const QVariantList& photos, const std::vector<QString>& names)
{
    if (photos.isEmpty() || names.empty())
        return {};
    const QVariantList widths =
        photos.front().toMap().value(names.front()).toMap().value("widths").toList();
    QVariantMap cover = widths.isEmpty() ? QVariantMap() : widths.front().toMap();
    for (const QVariant& width : widths)
        if (width.toMap().value("width").toInt() >= CoverWidth)
            cover = width.toMap();
    return cover;
}

} // namespace

CAlbumContext::CAlbumContext(const Theme& theme, const QString& title, const QVariantMap& params,
                             std::vector<AlbumPhoto>& photos,
                             const std::vector<PhotoPictures>& pictures,
                             const std::vector<QString>& pictureNames, int perSheet)
    : m_theme(theme), m_pictures(pictures), m_pictureNames(pictureNames), m_photos(photos),
      m_perSheet(std::max(0, perSheet)),
      // The viewer's camera details follow the album's camera-data choice: an album that
      // removes the camera's data from its pictures does not print it beside them either.
      m_showCamera(!theme.cameraParam.isEmpty() &&
                   params.value(theme.cameraParam).toString() == theme.cameraKeep)
{
    if (theme.groupsBySubfolder) {
        // The photos of one subfolder together, the folders in the order they first appear.
        std::map<QString, size_t> firstSeen;
        for (size_t i = 0; i < m_photos.size(); ++i)
            firstSeen.emplace(groupTitle(m_photos[i].subfolder), i);
        std::stable_sort(
            m_photos.begin(), m_photos.end(), [&](const AlbumPhoto& a, const AlbumPhoto& b) {
                return firstSeen[groupTitle(a.subfolder)] < firstSeen[groupTitle(b.subfolder)];
            });
    }
    for (size_t i = 0; i < m_photos.size(); ++i)
        m_photoValues << photoValue(m_photos[i], static_cast<int>(i) + 1);
    linkPages(perSheet);
    const QVariantList groups = buildGroups();
    const bool hasGroups =
        groups.size() > 1 ||
        (groups.size() == 1 && !groups[0].toMap().value("title").toString().isEmpty());
    const QVariantMap first = m_photoValues.isEmpty() ? QVariantMap() : m_photoValues[0].toMap();
    m_base = {{"album", QVariantMap{{"title", title},
                                    {"description", albumDescription(params)},
                                    {"lang", pageLanguage(QLocale())},
                                    {"favicon", first.value(FaviconPicture).toMap().value("url")},
                                    {"cover", coverOf(m_photoValues, pictureNames)},
                                    {"count", static_cast<int>(m_photos.size())},
                                    {"photos", m_photoValues},
                                    {"groups", groups},
                                    {"hasGroups", hasGroups},
                                    {"startPage", theme.startPage},
                                    {"photoPage", photoPagePattern()}}},
              {"params", params},
              {"theme", QVariantMap{{"name", theme.name}, {"id", theme.id}}}};
}

QString CAlbumContext::numbered(const QString& pattern, int number)
{
    return QString(pattern).replace(QLatin1String("{number}"), QString::number(number));
}

QString CAlbumContext::shownTitle(const QString& title, const QString& photoPath)
{
    const QFileInfo file(photoPath);
    if (photoPath.isEmpty() || title != file.fileName())
        return title;
    const QString bare = file.completeBaseName();
    // ".jpg" alone is a name with nothing before its extension: keep it as it is.
    return bare.isEmpty() ? title : bare;
}

QString CAlbumContext::altText(const QString& description, const QString& shownTitle, int number)
{
    const QString described = description.simplified();
    if (!described.isEmpty())
        return described;
    const QString titled = shownTitle.simplified();
    return titled.isEmpty() ? QStringLiteral("Photo %1").arg(number) : titled;
}

QString CAlbumContext::pageLanguage(const QLocale& locale)
{
    const QLocale::Language language = locale.language();
    if (language == QLocale::C || language == QLocale::AnyLanguage)
        return QStringLiteral("en");
    const QString code = QLocale::languageToCode(language, QLocale::ISO639Part1);
    return code.isEmpty() ? QLocale::languageToCode(language) : code;
}

QString CAlbumContext::albumDescription(const QVariantMap& params)
{
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        if (it.key().compare(QLatin1String("Description"), Qt::CaseInsensitive) == 0)
            return textOf(it.value()).simplified();
    return QString();
}

QVariantMap CAlbumContext::photoValue(const AlbumPhoto& photo, int number) const
{
    const PhotoPictures& pictures = m_pictures[photo.pictures];
    const QString title = shownTitle(photo.title, pictures.source);
    QVariantMap value{
        {"number", number},
        {"index", photo.index},
        {"title", title},
        {"alt", altText(photo.description, title, number)},
        {"description", photo.description},
        {"subfolder", photo.subfolder},
        {"group", m_theme.groupsBySubfolder ? groupTitle(photo.subfolder) : QString()},
        {"anchor", QStringLiteral("photo-%1").arg(number)},
        {"original", QVariantMap{{"url", photo.originalUrl}, {"name", photo.originalName}}}};
    value["camera"] = m_showCamera ? cameraDetails(pictures.source) : QVariantList();
    value.insert(pictureValues(pictures, m_pictureNames));
    value["placeholder"] = pictures.placeholder;
    value["placeholderUrl"] = pictures.placeholderUrl;
    return value;
}

QString CAlbumContext::photoPagePattern() const
{
    const PageSpec* photoPage = pageOf(m_theme, PageSpec::Each::Photo);
    return photoPage ? photoPage->output : QString();
}

void CAlbumContext::linkPages(int perSheet)
{
    const PageSpec* photoPage = pageOf(m_theme, PageSpec::Each::Photo);
    const PageSpec* sheet = pageOf(m_theme, PageSpec::Each::Sheet);
    for (qsizetype i = 0; i < m_photoValues.size(); ++i) {
        QVariantMap value = m_photoValues[i].toMap();
        const int number = static_cast<int>(i) + 1;
        value["page"] = photoPage ? numbered(photoPage->output, number) : QString();
        // Where "back to the photos" leads: its index sheet, or the start page at the photo.
        const int sheetNumber = perSheet > 0 ? static_cast<int>(i) / perSheet + 1 : 1;
        value["sheet"] =
            sheet ? (sheetNumber == 1 ? sheet->firstOutput : numbered(sheet->output, sheetNumber))
                  : m_theme.startPage;
        m_photoValues[i] = value;
    }
}

QVariantList CAlbumContext::buildGroups() const
{
    QVariantList groups;
    QVariantMap current;
    QVariantList members;
    for (const QVariant& value : m_photoValues) {
        const QString title = value.toMap().value("group").toString();
        if (!current.isEmpty() && current.value("title").toString() != title) {
            current["photos"] = members;
            groups << current;
            members.clear();
        }
        if (members.isEmpty())
            current = {{"title", title},
                       {"number", groups.size() + 1},
                       {"anchor", QStringLiteral("group-%1").arg(groups.size() + 1)}};
        members << value;
    }
    if (!members.isEmpty()) {
        current["photos"] = members;
        groups << current;
    }
    return groups;
}

int CAlbumContext::sheetCount() const
{
    const int count = static_cast<int>(m_photoValues.size());
    const int perSheet = std::max(1, m_perSheet);
    return std::max(1, (count + perSheet - 1) / perSheet);
}

int CAlbumContext::pageCount(const PageSpec& spec) const
{
    switch (spec.each) {
    case PageSpec::Each::Album:
        return 1;
    case PageSpec::Each::Sheet:
        return sheetCount();
    case PageSpec::Each::Photo:
        break;
    }
    return static_cast<int>(m_photoValues.size());
}

QString CAlbumContext::pageFile(const PageSpec& spec, int number) const
{
    const bool first =
        spec.each == PageSpec::Each::Album || (spec.each == PageSpec::Each::Sheet && number == 1);
    return first ? spec.firstOutput : numbered(spec.output, number);
}

QVariantMap CAlbumContext::page(const PageSpec& spec, int number) const
{
    switch (spec.each) {
    case PageSpec::Each::Album:
        return albumPage(pageFile(spec, number));
    case PageSpec::Each::Sheet:
        return sheetPage(spec, number);
    case PageSpec::Each::Photo:
        break;
    }
    return photoPage(pageFile(spec, number), number);
}

QVariantMap CAlbumContext::albumPage(const QString& file) const
{
    QVariantMap context = m_base;
    context["page"] = QVariantMap{{"file", file}};
    return context;
}

std::vector<bool> CAlbumContext::nearSheets(int number, int count)
{
    // The first, the last and the current sheet with its neighbours; a single sheet between
    // two of them is kept too, as an ellipsis in its place would save nothing.
    std::vector<bool> near(static_cast<size_t>(count) + 2, false);
    for (int n = 1; n <= count; ++n)
        near[n] = n == 1 || n == count || std::abs(n - number) <= 1;
    for (int n = 2; n < count; ++n)
        if (!near[n] && near[n - 1] && near[n + 1])
            near[n] = true;
    return near;
}

QVariantMap CAlbumContext::sheetPage(const PageSpec& spec, int number) const
{
    const int count = sheetCount();
    const int perSheet = std::max(1, m_perSheet);
    const auto fileOf = [&](int n) { return n < 1 || n > count ? QString() : pageFile(spec, n); };
    const std::vector<bool> near = nearSheets(number, count);
    QVariantList sheets;
    for (int n = 1; n <= count; ++n)
        sheets << QVariantMap{{"number", n},
                              {"file", fileOf(n)},
                              {"current", n == number},
                              {"near", near[n]},
                              {"gapBefore", near[n] && n > 1 && !near[n - 1]}};
    QVariantMap context = albumPage(fileOf(number));
    context["sheets"] = sheets;
    context["sheet"] =
        QVariantMap{{"number", number},
                    {"count", count},
                    {"file", fileOf(number)},
                    {"prev", fileOf(number - 1)},
                    {"next", fileOf(number + 1)},
                    {"photos", m_photoValues.mid((number - 1) * perSheet, perSheet)}};
    return context;
}

QVariantMap CAlbumContext::photoPage(const QString& file, int number) const
{
    const auto photoAt = [&](int n) {
        return n < 1 || n > m_photoValues.size() ? QVariant() : m_photoValues[n - 1];
    };
    QVariantMap context = albumPage(file);
    context["photo"] = photoAt(number);
    context["prev"] = photoAt(number - 1);
    context["next"] = photoAt(number + 1);
    context["first"] = photoAt(1);
    context["last"] = photoAt(static_cast<int>(m_photoValues.size()));
    return context;
}
