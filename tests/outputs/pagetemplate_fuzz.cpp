// Fuzz target: any bytes as a theme's page, parsed and rendered; a page may fail to parse but
// must never crash, hang or read outside what it was given.
#include <cstddef>
#include <cstdint>

#include <QVariantMap>

#include "outputs/html/pagetemplate.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto include = [&text](const QString& name) -> std::optional<QString> {
        return name == QLatin1String("self.html") ? std::optional<QString>(text) : std::nullopt;
    };
    QString error;
    const auto page = CPageTemplate::parse(QStringLiteral("fuzz.html"), text, include, &error);
    if (page) {
        const QVariantMap photo{{"title", "<b>&"}, {"number", 1}};
        const QVariantMap context{
            {"album", QVariantMap{{"title", "A & B"}, {"photos", QVariantList{photo, photo}}}},
            {"photo", photo}};
        page->render(context);
    }
    return 0;
}
