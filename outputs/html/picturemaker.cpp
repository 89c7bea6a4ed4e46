// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/picturemaker.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <utility>

#include <QBuffer>
#include <QColor>
#include <QFile>
#include <QImage>

#include "outputs/html/sizeexpr.h"
#include "outputs/html/themeparams.h"

using namespace html;

namespace
{

constexpr int MaxSide = 4000; // what the processor accepts
const QStringList PhotoSizes = {"width",       "height",       "boxWidth", "boxHeight",
                                "sourceWidth", "sourceHeight", "placement"};
constexpr int CentrePlacement = 4;
constexpr int AttentionPlacement = 9; // the processor cuts around the centre of interest
constexpr int PlaceholderSample = 32;
constexpr int PlaceholderSide = 8;

struct Size {
    int width = 0;
    int height = 0;
};

// The size to scale to and the box to cut to: fitted inside the box, or covering it when
// cropping; never enlarged, since an enlarged picture only weighs more.
void targetFor(Size source, int boxWidth, int boxHeight, bool crop, Size& scaled, Size& box)
{
    const double byWidth = static_cast<double>(boxWidth) / source.width;
    const double byHeight = static_cast<double>(boxHeight) / source.height;
    const double scale =
        std::min(1.0, crop ? std::max(byWidth, byHeight) : std::min(byWidth, byHeight));
    scaled = {std::max(1, static_cast<int>(std::lround(source.width * scale))),
              std::max(1, static_cast<int>(std::lround(source.height * scale)))};
    if (!crop) {
        scaled.width = std::min(scaled.width, boxWidth);
        scaled.height = std::min(scaled.height, boxHeight);
    }
    box = {std::min(boxWidth, scaled.width), std::min(boxHeight, scaled.height)};
}

// "#rrggbb" of the mean of every pixel, or "" without pixels.
QString averageColour(const QImage& picture)
{
    if (picture.isNull())
        return QString();
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB32);
    qint64 sums[3] = {0, 0, 0};
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < rgb.width(); ++x) {
            sums[0] += qRed(line[x]);
            sums[1] += qGreen(line[x]);
            sums[2] += qBlue(line[x]);
        }
    }
    const qint64 count = static_cast<qint64>(rgb.width()) * rgb.height();
    return QColor(static_cast<int>(sums[0] / count), static_cast<int>(sums[1] / count),
                  static_cast<int>(sums[2] / count))
        .name();
}

// A few pixels of the picture as a PNG data: URI; the browser's smooth enlarging blurs it.
QString blurredDataUrl(const QImage& picture)
{
    if (picture.isNull())
        return QString();
    const QImage tiny = picture.convertToFormat(QImage::Format_RGB32)
                            .scaled(PlaceholderSide, PlaceholderSide, Qt::KeepAspectRatio,
                                    Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !tiny.save(&buffer, "PNG"))
        return QString();
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(bytes.toBase64());
}

QString variableName(const QVariant& argument)
{
    const QString text = argument.toString();
    if (argument.typeId() == QMetaType::QString && text.size() > 2 && text.startsWith(u'{') &&
        text.endsWith(u'}'))
        return text.mid(1, text.size() - 2);
    return QString();
}

} // namespace

CPictureMaker::CPictureMaker(const Theme& theme, const CThemeParams& params,
                             IGraphicProcessor& processor)
    : m_theme(theme), m_params(params), m_processor(processor)
{
}

bool CPictureMaker::prepareStep(const ScriptStep& step, Prepared& picture, QString* error)
{
    if (!step.whenParam.isEmpty() && m_params.text(step.whenParam) != step.whenValue)
        return true;
    Step prepared;
    prepared.command = step.command.toUtf8();
    GVCommand described(prepared.command.constData());
    gv_vector<int32_t> kinds;
    if (!m_processor.DescribeCommand(described, kinds)) {
        *error = QStringLiteral("picture \"%1\": the processor knows no command \"%2\"")
                     .arg(picture.name, step.command);
        return false;
    }
    for (int32_t i = 0; i < kinds.size(); ++i)
        prepared.kinds.push_back(kinds[i]);
    for (const QVariant& argument : step.arguments) {
        const QString variable = variableName(argument);
        if (variable.isEmpty() || PhotoSizes.contains(variable))
            prepared.arguments << argument;
        else if (m_theme.param(variable) != nullptr)
            prepared.arguments << m_params.scriptValue(variable);
        else {
            *error = QStringLiteral("picture \"%1\": \"{%2}\" names nothing")
                         .arg(picture.name, variable);
            return false;
        }
    }
    picture.steps.push_back(prepared);
    return true;
}

QStringList CPictureMaker::modernFormats() const
{
    // Themes without the choice get WebP, which every browser shows and libvips makes fast.
    if (m_theme.param(QString::fromLatin1(ModernFormats::Parameter)) == nullptr)
        return {QStringLiteral("webp")};
    const QString chosen = m_params.text(QString::fromLatin1(ModernFormats::Parameter));
    if (chosen == QLatin1String(ModernFormats::JpegOnly))
        return {};
    if (chosen == QLatin1String(ModernFormats::WebpAndAvif))
        return {QStringLiteral("webp"), QStringLiteral("avif")};
    return {QStringLiteral("webp")};
}

void CPictureMaker::setRecipe(Prepared& picture, const QString& settings) const
{
    QString recipe = QStringLiteral("%1 %2x%3 %4 %5 k%6 %7 [")
                         .arg(picture.format)
                         .arg(picture.boxWidth)
                         .arg(picture.boxHeight)
                         .arg(picture.attention ? "attention" : picture.crop ? "crop" : "fit",
                              settings)
                         .arg(picture.keepCameraData ? 1 : 0)
                         .arg(picture.from < 0 ? QStringLiteral("photo")
                                               : m_pictures[picture.from].recipe);
    for (const Step& step : picture.steps)
        recipe += QString::fromUtf8(step.command) + u' ' +
                  QVariant(step.arguments).toStringList().join(u',') + u';';
    picture.recipe = recipe + u']';
}

// The boxes of a picture's smaller widths, largest first; none as large as the box itself.
static std::vector<std::pair<int, int>> widthBoxes(const PictureSpec& spec, int boxWidth,
                                                   int boxHeight)
{
    std::vector<std::pair<int, int>> boxes;
    for (double width : spec.widths) {
        const double scale = width < 1 ? width : width / boxWidth;
        const int w = static_cast<int>(std::lround(boxWidth * scale));
        if (w >= 1 && w < boxWidth)
            boxes.emplace_back(w, std::max(1, static_cast<int>(std::lround(boxHeight * scale))));
    }
    std::sort(boxes.begin(), boxes.end(), std::greater<>());
    boxes.erase(std::unique(boxes.begin(), boxes.end(),
                            [](const auto& a, const auto& b) { return a.first == b.first; }),
                boxes.end());
    return boxes;
}

bool CPictureMaker::preparePicture(const PictureSpec& spec, const QStringList& formats,
                                   const QString& settings, QString* error)
{
    const NumberOf numberOf = [this](const QString& name) { return m_params.number(name); };
    Prepared picture;
    picture.name = spec.name;
    picture.format = spec.format;
    picture.main = true;
    picture.crop = spec.crop;
    picture.attention = spec.attention;
    picture.keepCameraData = m_keepCameraData && !spec.thumbnail;
    picture.firstPhoto = spec.firstPhoto;
    for (size_t i = 0; i < m_pictures.size(); ++i)
        if (m_pictures[i].main && m_pictures[i].name == spec.from)
            picture.from = static_cast<int>(i);
    picture.boxWidth = std::clamp(evaluateSize(spec.boxWidth, numberOf).value_or(1), 1, MaxSide);
    picture.boxHeight =
        std::clamp(evaluateSize(spec.boxHeight, numberOf).value_or(1), 1, MaxSide);
    for (const ScriptStep& step : spec.script)
        if (!prepareStep(step, picture, error))
            return false;
    setRecipe(picture, settings);
    std::vector<int> jpegs{static_cast<int>(m_pictures.size())};
    m_pictures.push_back(picture);

    // Smaller widths, each from the next larger one: only resized, the script already ran.
    Prepared smaller = picture;
    smaller.main = false;
    smaller.crop = smaller.attention = false; // the larger one has the shape already
    smaller.steps.clear();
    const ScriptStep resize{QStringLiteral("ResizeKeepAsp"), {"{width}", "{height}"}, {}, {}};
    if (!prepareStep(resize, smaller, error))
        return false;
    for (const auto& [width, height] : widthBoxes(spec, picture.boxWidth, picture.boxHeight)) {
        smaller.from = smaller.larger = jpegs.back();
        smaller.boxWidth = width;
        smaller.boxHeight = height;
        setRecipe(smaller, settings);
        jpegs.push_back(static_cast<int>(m_pictures.size()));
        m_pictures.push_back(smaller);
    }
    if (!spec.modern)
        return true;
    // The other formats of every width, re-encoded from the JPEG of that width.
    for (const QString& format : formats) {
        int larger = -1;
        for (int jpeg : jpegs) {
            Prepared copy = m_pictures[jpeg];
            copy.main = false;
            copy.format = format;
            copy.from = copy.sameWidth = jpeg;
            copy.larger = larger;
            copy.crop = copy.attention = false;
            copy.steps.clear();
            setRecipe(copy, settings);
            larger = static_cast<int>(m_pictures.size());
            m_pictures.push_back(copy);
        }
    }
    return true;
}

bool CPictureMaker::prepare(QString* error)
{
    m_keepCameraData = m_params.keepsCameraData();
    const QString settings =
        QStringLiteral("q%1 i%2").arg(m_params.jpegQuality()).arg(m_params.interpolationMode());
    const QStringList formats = modernFormats();
    for (const PictureSpec& spec : m_theme.pictures)
        if (!preparePicture(spec, formats, settings, error))
            return false;
    return true;
}

gv_vector<GVCommand> CPictureMaker::scriptFor(const Prepared& picture, const QVariantMap& sizes)
{
    gv_vector<GVCommand> script;
    for (const Step& step : picture.steps) {
        GVCommand command(step.command.constData());
        for (qsizetype i = 0; i < step.arguments.size(); ++i) {
            const QString variable = variableName(step.arguments[i]);
            const QVariant value = variable.isEmpty() ? step.arguments[i] : sizes.value(variable);
            const bool isText = static_cast<size_t>(i) < step.kinds.size() &&
                                step.kinds[static_cast<size_t>(i)] == GVCP_TEXT;
            command.params.push_back(isText ? GVParamValue(value.toString().toUtf8().constData())
                                            : GVParamValue(value.toInt()));
        }
        script.push_back(command);
    }
    return script;
}

IPlainImage* CPictureMaker::makeMain(const Prepared& picture, PhotoPictures& photo,
                                     size_t index) const
{
    const QString& source = picture.from < 0 ? photo.source : photo.file(picture.from);
    GVImageStream input(source.toUtf8().constData());
    IPlainImage* image = m_processor.OpenImage(&input);
    if (image == nullptr)
        return nullptr;
    Size scaled, box;
    const Size original{image->GetWidth(), image->GetHeight()};
    if (original.width <= 0 || original.height <= 0) {
        m_processor.ReleaseImage(image);
        return nullptr;
    }
    targetFor(original, picture.boxWidth, picture.boxHeight, picture.crop, scaled, box);
    const QVariantMap sizes{{"width", scaled.width},         {"height", scaled.height},
                            {"boxWidth", box.width},         {"boxHeight", box.height},
                            {"sourceWidth", original.width}, {"sourceHeight", original.height},
                            {"placement", picture.attention ? AttentionPlacement : CentrePlacement}};
    gv_vector<GVCommand> script = scriptFor(picture, sizes);
    GVImageStream output(photo.file(index).toUtf8().constData(), picture.keepCameraData ? 1 : 0);
    const HRESULT result = m_processor.ProcessImage(image, script, output);
    if (result != S_OK) {
        m_processor.ReleaseImage(image);
        if (result == STG_E_CANTSAVE)
            photo.outcome = PhotoPictures::Outcome::WriteFailed;
        return nullptr;
    }
    // The picture's own header tells its size, whatever the script did to it; opened, it is
    // also where the picture's other widths and formats come from.
    IPlainImage* made = m_processor.OpenImage(&output);
    if (made == nullptr)
        return nullptr;
    photo.made[index] = {photo.urls[index], made->GetWidth(), made->GetHeight()};
    return made;
}

bool CPictureMaker::saveOutput(size_t output, IPlainImage& image, PhotoPictures& photo) const
{
    if (!image.Save(m_pictures[output].keepCameraData ? 1 : 0,
                    photo.file(output).toUtf8().constData())) {
        photo.outcome = PhotoPictures::Outcome::WriteFailed;
        return false;
    }
    photo.made[output] = {photo.urls[output], image.GetWidth(), image.GetHeight()};
    return true;
}

bool CPictureMaker::saveCopies(size_t width, IPlainImage& image, PhotoPictures& photo) const
{
    for (size_t i = width + 1; i < m_pictures.size() && !m_pictures[i].main; ++i)
        if (m_pictures[i].sameWidth == static_cast<int>(width) && !saveOutput(i, image, photo))
            return false;
    return true;
}

// A smaller width that would come out no smaller stands for the larger one, and so do its
// copies in the other formats.
void CPictureMaker::standForLarger(size_t width, PhotoPictures& photo) const
{
    for (size_t i = width; i < m_pictures.size() && !m_pictures[i].main; ++i) {
        if (i != width && m_pictures[i].sameWidth != static_cast<int>(width))
            continue;
        const int larger = m_pictures[i].larger;
        photo.urls[i] = photo.urls[larger];
        photo.made[i] = photo.made[larger];
    }
}

// The picture's other formats and smaller widths, each width resized in memory from the one
// before: the picture's file is decoded once, however many outputs it has.
bool CPictureMaker::makeFamily(size_t main, IPlainImage& image, PhotoPictures& photo) const
{
    if (!saveCopies(main, image, photo))
        return false;
    for (size_t i = main + 1; i < m_pictures.size() && !m_pictures[i].main; ++i) {
        const Prepared& picture = m_pictures[i];
        if (picture.sameWidth >= 0)
            continue; // saved with its width
        Size scaled, box;
        const Size current{image.GetWidth(), image.GetHeight()};
        targetFor(current, picture.boxWidth, picture.boxHeight, false, scaled, box);
        if (scaled.width == current.width && scaled.height == current.height) {
            standForLarger(i, photo);
            continue;
        }
        if (!image.ResizeKeepAspect(scaled.width, scaled.height, 1) ||
            !saveOutput(i, image, photo) || !saveCopies(i, image, photo))
            return false;
    }
    return true;
}

void CPictureMaker::make(PhotoPictures& photo) const
{
    photo.made.assign(m_pictures.size(), MadePicture());
    photo.outcome = PhotoPictures::Outcome::Pending;
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        const Prepared& picture = m_pictures[i];
        if (picture.firstPhoto && !photo.first) {
            photo.urls[i].clear(); // no file: the picture is the first photo's alone
            continue;
        }
        if (!picture.main)
            continue; // made with its main output
        IPlainImage* image = makeMain(picture, photo, i);
        const bool made = image != nullptr && makeFamily(i, *image, photo);
        m_processor.ReleaseImage(image);
        if (!made) {
            if (photo.outcome == PhotoPictures::Outcome::Pending)
                photo.outcome = PhotoPictures::Outcome::Unreadable;
            return;
        }
    }
    makePlaceholder(photo);
    photo.outcome = PhotoPictures::Outcome::Made;
}

void CPictureMaker::makePlaceholder(PhotoPictures& photo) const
{
    // From the smallest picture: a few dozen pixels say the colour and the blur.
    const auto area = [&](size_t i) {
        return static_cast<qint64>(photo.made[i].width) * photo.made[i].height;
    };
    size_t smallest = photo.made.size();
    for (size_t i = 0; i < photo.made.size(); ++i)
        if (!m_pictures[i].firstPhoto && m_pictures[i].format != QLatin1String("avif") &&
            (smallest == photo.made.size() || area(i) < area(smallest)))
            smallest = i;
    if (smallest == photo.made.size())
        return;
    GVImageStream input(photo.file(smallest).toUtf8().constData());
    IPlainImage* image = m_processor.OpenImage(&input);
    if (image == nullptr)
        return;
    const QString file = photo.file(smallest) + QStringLiteral(".placeholder.png");
    GVImageStream output(file.toUtf8().constData());
    gv_vector<GVCommand> script;
    script.push_back(GVCommand("ResizeKeepAsp"));
    script[0].params.push_back(GVParamValue(PlaceholderSample));
    script[0].params.push_back(GVParamValue(PlaceholderSample));
    if (m_processor.ProcessImage(image, script, output) != S_OK) {
        m_processor.ReleaseImage(image);
        return;
    }
    QFile sample(file);
    const QImage pixels = sample.open(QIODevice::ReadOnly)
                              ? QImage::fromData(sample.readAll(), "PNG")
                              : QImage();
    sample.remove();
    photo.placeholder = averageColour(pixels);
    photo.placeholderUrl = blurredDataUrl(pixels);
}
