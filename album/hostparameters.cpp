// SPDX-License-Identifier: GPL-2.0-or-later
#include "album/hostparameters.h"

#include <cstring>

#include "platform/settings.h"
#include "platform/stringtable.h"
#include "plugins/paramrules.h"

namespace hostparams {

namespace {

const QString SettingsSection = QStringLiteral("Settings");
const char* const InterpolationOptions[3] = {"Nearest Neighbor", "Bilinear", "Bicubic"};

GVParamInfo describe(int32_t id, const char* name, const char* caption, const char* tip,
                     int32_t type)
{
    GVParamInfo param;
    param.id = id;
    param.name = name;
    param.friendlyName = caption;
    param.description = tip;
    param.type = type;
    return param;
}

GVParamInfo jpegQuality(int32_t id, const Settings& settings)
{
    GVParamInfo param = describe(id, JpegQualityName, "JPEG Quality (%)",
                                 "Adjust the JPEG quality of the resulting images", PT_NUMBER);
    const int quality = settings.getInt(SettingsSection, loadString(IDS_JPEG_QUALITY_VALUE),
                                        DefaultJpegQuality);
    param.values.push_back(GVParamValueInfo(PVK_MINIMUM, GVParamValue(1)));
    param.values.push_back(GVParamValueInfo(PVK_MAXIMUM, GVParamValue(100)));
    param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue(quality)));
    return param;
}

GVParamInfo interpolation(int32_t id, const Settings& settings)
{
    GVParamInfo param =
        describe(id, InterpolationName, "Resize method", "Select resizing method", PT_CHOICE);
    int mode = settings.getInt(SettingsSection, loadString(IDS_INTERPOLATION_VALUE),
                               DefaultInterpolation);
    // A stored mode the program does not know would leave the choice without a selection.
    if (mode < 5 || mode > 7)
        mode = DefaultInterpolation;
    for (int i = 0; i < 3; ++i) {
        const int32_t kind = (i == mode - 5) ? PVK_VALUE : PVK_OPTION;
        param.values.push_back(GVParamValueInfo(kind, GVParamValue(InterpolationOptions[i])));
    }
    return param;
}

} // namespace

void append(gv_vector<GVParamInfo>& params, const Settings& settings)
{
    params.push_back(jpegQuality(params.size(), settings));
    params.push_back(interpolation(params.size(), settings));
}

void writeBack(const gv_vector<GVParamInfo>& params, Settings& settings)
{
    for (const GVParamInfo& param : params) {
        if (paramrules::sameName(param.name.c_str(), JpegQualityName) && param.values.size() > 2) {
            settings.writeInt(SettingsSection, loadString(IDS_JPEG_QUALITY_VALUE),
                              param.values[2].value.number);
        } else if (paramrules::sameName(param.name.c_str(), InterpolationName)) {
            const GVParamValue* value = paramrules::value(param);
            const char* text = value ? value->text.c_str() : "";
            const int mode = paramrules::sameName(text, "Bicubic")    ? 7
                             : paramrules::sameName(text, "Bilinear") ? 6
                                                                  : 5;
            settings.writeInt(SettingsSection, loadString(IDS_INTERPOLATION_VALUE), mode);
        }
    }
}

} // namespace hostparams
