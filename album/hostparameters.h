// SPDX-License-Identifier: GPL-2.0-or-later
// The two parameters the host adds after every template's own: the JPEG quality and the
// resize method of the pictures the plug-in makes. Their values live in the program's
// settings, so a choice carries over to the next album.
#pragma once

#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"

class Settings;

namespace hostparams {

inline constexpr const char* JpegQualityName = "JPEGQuality";
inline constexpr const char* InterpolationName = "InterpolationMode";
inline constexpr int DefaultJpegQuality = 75;
inline constexpr int DefaultInterpolation = 5; // nearest neighbour; 6 bilinear, 7 bicubic

// Appends both parameters, each with the list position as its id, values from settings.
void append(gv_vector<GVParamInfo>& params, const Settings& settings);
// Stores the values of the two parameters found in params back into the settings.
void writeBack(const gv_vector<GVParamInfo>& params, Settings& settings);

} // namespace hostparams
