// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/thememanifest.h"

#include <cmath>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include "outputs/html/manifestparams.h"
#include "outputs/html/pagetemplate.h"
#include "outputs/html/sizeexpr.h"
#include "outputs/html/themefiles.h"
#include "sdk/gvparaminfo.h"
#include "sdk/gvprocessorcommands.h"

using namespace html;

namespace
{

constexpr int ManifestFormat = 1;
constexpr int MaxWidths = 8;
constexpr int MinWidth = 16;
constexpr int MaxWidth = 4000;

// Names a picture may not take: they are fields of every photo in the pages.
const QStringList ReservedPhotoKeys = {"number",    "index", "title",  "alt",   "description",
                                       "subfolder", "page",  "anchor", "group", "photo"};
// Commands that read or write files the plug-in does not choose itself.
const QStringList RefusedCommands = {"load",         "loadthumbnail", "out",         "addimage",
                                     "addwatermark", "setbgimage",    "imageborder", "createimage"};

struct Reader {
    Theme& theme;
    QString error;

    bool fail(const QString& message)
    {
        if (error.isEmpty())
            error = message;
        return false;
    }
    std::optional<int> numberParam(const QString& name) const
    {
        const ThemeParam* param = theme.param(name);
        if (param == nullptr || (param->type != PT_NUMBER && param->type != PT_SLIDER &&
                                 param->type != PT_NUMBER_HIDDEN))
            return std::nullopt;
        return param->value.toInt();
    }
    bool sizeExpr(const QString& expr, const QString& where)
    {
        const std::optional<int> value =
            evaluateSize(expr, [this](const QString& name) { return numberParam(name); });
        return value ? true : fail(QStringLiteral("%1: \"%2\" is no size").arg(where, expr));
    }

    bool header(const QJsonObject& root);
    bool step(const QJsonValue& value, const QString& where, PictureSpec& picture);
    bool picture(const QJsonObject& entry);
    bool widths(const QJsonValue& value, const QString& where, PictureSpec& picture);
    bool page(const QJsonObject& entry);
    bool parseTemplate(const QString& name, const QString& where);
    bool files(const QJsonObject& root);
    // A member {"parameter": choice, "keep": option} naming a choice and one of its options.
    bool choiceOption(const QJsonObject& root, const QString& key, QString& param, QString& option);
};

bool Reader::header(const QJsonObject& root)
{
    if (root.value(u"format").toInt(ManifestFormat) != ManifestFormat)
        return fail(QStringLiteral("written for another manifest format"));
    const double id = root.value(u"id").toDouble(-1);
    if (id < 1 || id > INT32_MAX || id != static_cast<int32_t>(id))
        return fail(QStringLiteral("\"id\" must be a whole number from 1"));
    theme.id = static_cast<int32_t>(id);
    theme.name = root.value(u"name").toString().trimmed();
    if (theme.name.isEmpty())
        return fail(QStringLiteral("\"name\" is missing"));
    theme.description = root.value(u"description").toString();
    theme.order = root.value(u"order").toInt(1000);
    theme.groupsBySubfolder = root.value(u"groupsBySubfolder").toBool(false);
    theme.preview = root.value(u"preview").toString();
    theme.startPage = root.value(u"startPage").toString(QStringLiteral("index.html"));
    if (!isSafeRelativePath(theme.startPage))
        return fail(QStringLiteral("\"startPage\" is no file name inside the album"));
    return readParameters(root.value(u"parameters").toArray(), theme.params, &error);
}

bool Reader::step(const QJsonValue& value, const QString& where, PictureSpec& picture)
{
    ScriptStep step;
    QJsonArray call = value.toArray();
    if (value.isObject()) {
        const QJsonObject conditional = value.toObject();
        step.whenParam = conditional.value(u"when").toString();
        step.whenValue = conditional.value(u"is").toString();
        call = conditional.value(u"do").toArray();
        if (theme.param(step.whenParam) == nullptr)
            return fail(QStringLiteral("%1: \"when\" names no parameter").arg(where));
    }
    if (call.isEmpty() || !call[0].isString() || call[0].toString().isEmpty())
        return fail(QStringLiteral("%1: a step is [\"Command\", values...]").arg(where));
    step.command = call[0].toString();
    if (RefusedCommands.contains(step.command.toLower()))
        return fail(
            QStringLiteral("%1: \"%2\" is not allowed in a theme").arg(where, step.command));
    // Checked here, so a theme is refused when it is installed rather than when an album is
    // generated with it.
    if (GVFindProcessorCommand(step.command.toUtf8().constData()) == nullptr)
        return fail(QStringLiteral("%1: \"%2\" is no command of the image processor")
                        .arg(where, step.command));
    for (qsizetype i = 1; i < call.size(); ++i) {
        if (!call[i].isDouble() && !call[i].isString())
            return fail(QStringLiteral("%1: values are numbers or texts").arg(where));
        step.arguments << call[i].toVariant();
    }
    picture.script << step;
    return true;
}

bool Reader::picture(const QJsonObject& entry)
{
    static const QRegularExpression namePattern(QStringLiteral("^[a-z][a-z0-9_]{0,31}$"));
    PictureSpec picture;
    picture.name = entry.value(u"name").toString();
    const QString where = QStringLiteral("picture \"%1\"").arg(picture.name);
    if (!namePattern.match(picture.name).hasMatch() || ReservedPhotoKeys.contains(picture.name))
        return fail(
            QStringLiteral("%1: names are lower-case words, not a field of a photo").arg(where));
    picture.from = entry.value(u"from").toString(QStringLiteral("photo"));
    const bool earlier = std::any_of(theme.pictures.begin(), theme.pictures.end(),
                                     [&](const PictureSpec& p) { return p.name == picture.from; });
    if (picture.from != QLatin1String("photo") && !earlier)
        return fail(
            QStringLiteral("%1: \"from\" must be \"photo\" or an earlier picture").arg(where));
    for (const PictureSpec& other : theme.pictures)
        if (other.name == picture.name)
            return fail(QStringLiteral("%1 is declared twice").arg(where));
    const QJsonArray box = entry.value(u"box").toArray();
    picture.boxWidth = box.size() == 2 ? box[0].toVariant().toString() : QString();
    picture.boxHeight = box.size() == 2 ? box[1].toVariant().toString() : QString();
    if (!sizeExpr(picture.boxWidth, where) || !sizeExpr(picture.boxHeight, where))
        return false;
    const QJsonValue crop = entry.value(u"crop");
    picture.attention = crop.toString() == QLatin1String("attention");
    picture.crop = crop.toBool(false) || picture.attention || crop.toString() == u"centre";
    if (!crop.isUndefined() && !crop.isBool() && !picture.crop)
        return fail(QStringLiteral("%1: \"crop\" is true, false, \"centre\" or \"attention\"")
                        .arg(where));
    picture.format = entry.value(u"format").toString(QStringLiteral("jpg"));
    if (!QStringList{"jpg", "png", "webp"}.contains(picture.format))
        return fail(QStringLiteral("%1: \"format\" is jpg, png or webp").arg(where));
    picture.modern = entry.value(u"modern").toBool(false);
    if (picture.modern && picture.format != QLatin1String("jpg"))
        return fail(QStringLiteral("%1: only jpg pictures are \"modern\"").arg(where));
    picture.thumbnail = entry.value(u"thumbnail").toBool(false);
    picture.firstPhoto = entry.value(u"firstPhoto").toBool(false);
    const bool fromFirstOnly =
        std::any_of(theme.pictures.begin(), theme.pictures.end(), [&](const PictureSpec& p) {
            return p.name == picture.from && p.firstPhoto;
        });
    if (fromFirstOnly && !picture.firstPhoto)
        return fail(QStringLiteral("%1: only a \"firstPhoto\" picture is made from one").arg(where));
    if (!widths(entry.value(u"widths"), where, picture))
        return false;
    for (const QJsonValue& value : entry.value(u"script").toArray())
        if (!step(value, where, picture))
            return false;
    theme.pictures << picture;
    return true;
}

bool Reader::widths(const QJsonValue& value, const QString& where, PictureSpec& picture)
{
    const QJsonArray list = value.toArray();
    if ((!value.isUndefined() && !value.isArray()) || list.size() > MaxWidths)
        return fail(QStringLiteral("%1: \"widths\" lists up to %2 sizes").arg(where).arg(MaxWidths));
    for (const QJsonValue& width : list) {
        const double number = width.toDouble(-1);
        const bool share = number > 0 && number < 1;
        const bool pixels = number >= MinWidth && number <= MaxWidth && number == std::floor(number);
        if (!share && !pixels)
            return fail(QStringLiteral("%1: a width is a share of the box below 1 or a whole "
                                       "number of pixels from %2")
                            .arg(where)
                            .arg(MinWidth));
        picture.widths << number;
    }
    return true;
}

bool Reader::page(const QJsonObject& entry)
{
    PageSpec page;
    const QString each = entry.value(u"each").toString(QStringLiteral("album"));
    page.templateName = entry.value(u"template").toString();
    page.output = entry.value(u"output").toString();
    page.firstOutput = entry.value(u"first").toString(page.output);
    const QString where = QStringLiteral("page \"%1\"").arg(page.templateName);
    if (each == QLatin1String("photo"))
        page.each = PageSpec::Each::Photo;
    else if (each == QLatin1String("sheet"))
        page.each = PageSpec::Each::Sheet;
    else if (each != QLatin1String("album"))
        return fail(QStringLiteral("%1: \"each\" is album, sheet or photo").arg(where));
    const bool numbered = page.output.contains(QLatin1String("{number}"));
    if (!isSafeRelativePath(page.output) || !isSafeRelativePath(page.firstOutput) ||
        (page.each != PageSpec::Each::Album && !numbered))
        return fail(QStringLiteral("%1: \"output\" must be a file name inside the album, with "
                                   "{number} for pages of photos and sheets")
                        .arg(where));
    if (page.each == PageSpec::Each::Sheet) {
        page.perSheet = entry.value(u"perSheet").toVariant().toString();
        if (!sizeExpr(page.perSheet, where))
            return false;
    }
    if (theme.templates.count(page.templateName) == 0 && !parseTemplate(page.templateName, where))
        return false;
    theme.pages << page;
    return true;
}

bool Reader::parseTemplate(const QString& name, const QString& where)
{
    const auto loader = [this](const QString& file) -> std::optional<QString> {
        const std::optional<QByteArray> bytes = readInside(theme.folder, file);
        return bytes ? std::optional<QString>(QString::fromUtf8(*bytes)) : std::nullopt;
    };
    const std::optional<QString> text = loader(name);
    if (!text)
        return fail(QStringLiteral("%1: the template file is missing").arg(where));
    QString fault;
    auto parsed = CPageTemplate::parse(name, *text, loader, &fault);
    if (!parsed)
        return fail(fault);
    theme.templates[name] = parsed;
    return true;
}

bool Reader::files(const QJsonObject& root)
{
    for (const QJsonValue& asset : root.value(u"assets").toArray()) {
        if (!fileInside(theme.folder, asset.toString()))
            return fail(QStringLiteral("asset \"%1\" is missing").arg(asset.toString()));
        theme.assets << asset.toString();
    }
    if (!theme.preview.isEmpty() && !fileInside(theme.folder, theme.preview))
        return fail(QStringLiteral("the preview picture \"%1\" is missing").arg(theme.preview));
    return choiceOption(root, QStringLiteral("cameraData"), theme.cameraParam, theme.cameraKeep) &&
           choiceOption(root, QStringLiteral("folderOriginals"), theme.originalsParam,
                        theme.originalsKeep);
}

bool Reader::choiceOption(const QJsonObject& root, const QString& key, QString& param,
                          QString& option)
{
    const QJsonObject named = root.value(key).toObject();
    param = named.value(u"parameter").toString();
    option = named.value(u"keep").toString();
    const ThemeParam* choice = theme.param(param);
    if (!named.isEmpty() &&
        (choice == nullptr || choice->type != PT_CHOICE || !choice->options.contains(option)))
        return fail(QStringLiteral("\"%1\" must name a choice and one of its options").arg(key));
    return true;
}

} // namespace

ThemePtr CThemeManifest::load(const QString& folder, bool userInstalled, QString* error)
{
    auto theme = std::make_shared<Theme>();
    theme->folder = QFileInfo(folder).absoluteFilePath();
    theme->userInstalled = userInstalled;
    Reader reader{*theme, {}};
    const std::optional<QByteArray> bytes = readInside(folder, QString::fromLatin1(FileName));
    QJsonParseError parseError{};
    const QJsonDocument document =
        bytes ? QJsonDocument::fromJson(*bytes, &parseError) : QJsonDocument();
    if (!bytes)
        reader.fail(QStringLiteral("%1 is missing").arg(QString::fromLatin1(FileName)));
    else if (!document.isObject())
        reader.fail(QStringLiteral("%1 is no JSON object: %2")
                        .arg(QString::fromLatin1(FileName), parseError.errorString()));
    bool ok = reader.error.isEmpty() && reader.header(document.object());
    for (const QJsonValue& entry : document.object().value(u"pictures").toArray())
        ok = ok && reader.picture(entry.toObject());
    for (const QJsonValue& entry : document.object().value(u"pages").toArray())
        ok = ok && reader.page(entry.toObject());
    ok = ok && reader.files(document.object());
    if (ok && theme->pages.isEmpty())
        ok = reader.fail(QStringLiteral("it makes no pages"));
    if (!ok) {
        if (error != nullptr)
            *error = reader.error;
        return nullptr;
    }
    return theme;
}
