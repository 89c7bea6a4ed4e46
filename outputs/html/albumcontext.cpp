// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/albumcontext.h"

#include <algorithm>
#include <map>

#include <QRegularExpression>

using namespace html;

namespace
{

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

} // namespace

CAlbumContext::CAlbumContext(const Theme& theme, const QString& title, const QVariantMap& params,
                             std::vector<AlbumPhoto>& photos,
                             const std::vector<PhotoPictures>& pictures,
                             const std::vector<QString>& pictureNames, int perSheet)
    : m_theme(theme), m_pictures(pictures), m_pictureNames(pictureNames), m_photos(photos),
      m_perSheet(std::max(0, perSheet))
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
    m_base = {{"album", QVariantMap{{"title", title},
                                    {"count", static_cast<int>(m_photos.size())},
                                    {"photos", m_photoValues},
                                    {"groups", groups},
                                    {"hasGroups", hasGroups},
                                    {"startPage", theme.startPage}}},
              {"params", params},
              {"theme", QVariantMap{{"name", theme.name}, {"id", theme.id}}}};
}

QString CAlbumContext::numbered(const QString& pattern, int number)
{
    return QString(pattern).replace(QLatin1String("{number}"), QString::number(number));
}

QVariantMap CAlbumContext::photoValue(const AlbumPhoto& photo, int number) const
{
    QVariantMap value{
        {"number", number},
        {"index", photo.index},
        {"title", photo.title},
        {"alt", photo.title.isEmpty() ? QStringLiteral("Photo %1").arg(number) : photo.title},
        {"description", photo.description},
        {"subfolder", photo.subfolder},
        {"group", m_theme.groupsBySubfolder ? groupTitle(photo.subfolder) : QString()},
        {"anchor", QStringLiteral("photo-%1").arg(number)},
        {"original", QVariantMap{{"url", photo.originalUrl}, {"name", photo.originalName}}}};
    const PhotoPictures& pictures = m_pictures[photo.pictures];
    for (size_t i = 0; i < pictures.made.size() && i < m_pictureNames.size(); ++i)
        value[m_pictureNames[i]] = QVariantMap{{"url", pictures.made[i].url},
                                               {"width", pictures.made[i].width},
                                               {"height", pictures.made[i].height}};
    return value;
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

QVariantMap CAlbumContext::sheetPage(const PageSpec& spec, int number) const
{
    const int count = sheetCount();
    const int perSheet = std::max(1, m_perSheet);
    const auto fileOf = [&](int n) { return n < 1 || n > count ? QString() : pageFile(spec, n); };
    QVariantList sheets;
    for (int n = 1; n <= count; ++n)
        sheets << QVariantMap{{"number", n}, {"file", fileOf(n)}, {"current", n == number}};
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
