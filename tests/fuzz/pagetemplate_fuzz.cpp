// SPDX-License-Identifier: GPL-2.0-or-later
// Fuzz target: any bytes as a theme's page, parsed and rendered against a context shaped like
// an album's; a page may fail to parse or pass its budget but must never crash, hang or read
// outside what it was given. The shipped themes' pages are the seeds.
#include <cstddef>
#include <cstdint>

#include <QVariantMap>

#include "outputs/html/pagetemplate.h"

namespace
{

QVariantMap albumContext()
{
    const QVariantMap picture{{"url", "pictures/a.jpg"}, {"width", 640}, {"height", 480}};
    const QVariantMap photo{{"title", "<b>&"}, {"alt", "A \"photo\""},
                            {"number", 1},     {"thumb", picture},
                            {"big", picture},  {"description", "one\ntwo"}};
    const QVariantList photos{photo, photo, photo};
    const QVariantMap sheet{{"number", 1},
                            {"count", 2},
                            {"next", "index-2.html"},
                            {"prev", QVariant()},
                            {"photos", photos}};
    return {{"album", QVariantMap{{"title", "A & B"}, {"count", 3}, {"photos", photos}}},
            {"params", QVariantMap{{"Title", "Trip"}, {"Columns", 4}, {"ShowTitles", true}}},
            {"photo", photo},
            {"sheet", sheet},
            {"sheets", QVariantList{sheet, sheet}},
            {"next", photo}};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QVariantMap context = albumContext();
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // "self.html" is the page itself (includes in a circle); any other part is a small one.
    const auto include = [&text](const QString& name) -> std::optional<QString> {
        if (name == QLatin1String("self.html"))
            return text;
        if (name.endsWith(QLatin1String(".html")))
            return QStringLiteral("<title>{{ album.title }}</title>");
        return std::nullopt;
    };
    QString error;
    const auto page = CPageTemplate::parse(QStringLiteral("fuzz.html"), text, include, &error);
    // A small budget keeps every run short; the limits themselves are what is tested.
    if (page)
        page->render(context, &error, RenderBudget{100000, 1 << 20});
    return 0;
}
