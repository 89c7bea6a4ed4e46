// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/picturemaker.h"

#include <algorithm>
#include <cmath>

#include "outputs/html/sizeexpr.h"
#include "outputs/html/themeparams.h"

using namespace html;

namespace
{

constexpr int MaxSide = 4000; // what the processor accepts
const QStringList PhotoSizes = {"width",     "height",      "boxWidth",
                                "boxHeight", "sourceWidth", "sourceHeight"};

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

bool CPictureMaker::prepare(QString* error)
{
    m_keepCameraData = m_params.keepsCameraData();
    const NumberOf numberOf = [this](const QString& name) { return m_params.number(name); };
    const QString settings = QStringLiteral("q%1 i%2 k%3")
                                 .arg(m_params.jpegQuality())
                                 .arg(m_params.interpolationMode())
                                 .arg(m_keepCameraData ? 1 : 0);
    for (const PictureSpec& spec : m_theme.pictures) {
        Prepared picture;
        picture.name = spec.name;
        picture.format = spec.format;
        picture.crop = spec.crop;
        for (size_t i = 0; i < m_pictures.size(); ++i)
            if (m_pictures[i].name == spec.from)
                picture.from = static_cast<int>(i);
        picture.boxWidth =
            std::clamp(evaluateSize(spec.boxWidth, numberOf).value_or(1), 1, MaxSide);
        picture.boxHeight =
            std::clamp(evaluateSize(spec.boxHeight, numberOf).value_or(1), 1, MaxSide);
        for (const ScriptStep& step : spec.script)
            if (!prepareStep(step, picture, error))
                return false;
        QString recipe =
            QStringLiteral("%1 %2x%3 %4 %5 %6 [")
                .arg(spec.format)
                .arg(picture.boxWidth)
                .arg(picture.boxHeight)
                .arg(spec.crop ? "crop" : "fit", settings,
                     picture.from < 0 ? QStringLiteral("photo") : m_pictures[picture.from].recipe);
        for (const Step& step : picture.steps)
            recipe += QString::fromUtf8(step.command) + u' ' +
                      QVariant(step.arguments).toStringList().join(u',') + u';';
        picture.recipe = recipe + u']';
        m_pictures.push_back(picture);
    }
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

bool CPictureMaker::makeOne(const Prepared& picture, PhotoPictures& photo, size_t index) const
{
    const QString& source = picture.from < 0 ? photo.source : photo.files[picture.from];
    GVImageStream input(source.toUtf8().constData());
    IPlainImage* image = m_processor.OpenImage(&input);
    if (image == nullptr)
        return false;
    Size scaled, box;
    const Size original{image->GetWidth(), image->GetHeight()};
    if (original.width <= 0 || original.height <= 0) {
        m_processor.ReleaseImage(image);
        return false;
    }
    targetFor(original, picture.boxWidth, picture.boxHeight, picture.crop, scaled, box);
    const QVariantMap sizes{{"width", scaled.width},         {"height", scaled.height},
                            {"boxWidth", box.width},         {"boxHeight", box.height},
                            {"sourceWidth", original.width}, {"sourceHeight", original.height}};
    gv_vector<GVCommand> script = scriptFor(picture, sizes);
    GVImageStream output(photo.files[index].toUtf8().constData(), m_keepCameraData ? 1 : 0);
    const HRESULT result = m_processor.ProcessImage(image, script, output);
    if (result != S_OK) {
        m_processor.ReleaseImage(image);
        photo.outcome = result == STG_E_CANTSAVE ? PhotoPictures::Outcome::WriteFailed
                                                 : PhotoPictures::Outcome::Unreadable;
        return false;
    }
    // The picture's own header tells its size, whatever the script did to it.
    IPlainImage* made = m_processor.OpenImage(&output);
    if (made == nullptr)
        return false;
    photo.made[index] = {photo.urls[index], made->GetWidth(), made->GetHeight()};
    m_processor.ReleaseImage(made);
    return true;
}

void CPictureMaker::make(PhotoPictures& photo) const
{
    photo.made.assign(m_pictures.size(), MadePicture());
    photo.outcome = PhotoPictures::Outcome::Pending;
    for (size_t i = 0; i < m_pictures.size(); ++i) {
        if (!makeOne(m_pictures[i], photo, i)) {
            if (photo.outcome == PhotoPictures::Outcome::Pending)
                photo.outcome = PhotoPictures::Outcome::Unreadable;
            return;
        }
    }
    photo.outcome = PhotoPictures::Outcome::Made;
}
