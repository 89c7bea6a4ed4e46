// SPDX-License-Identifier: GPL-2.0-or-later
// Whether the desktop asks programs for dark colours.
#pragma once

namespace platform {

// True when the desktop prefers dark colours. In this order: a GTK_THEME naming a ":dark"
// variant (or a light one), the colour scheme Qt reports where it knows one, the desktop
// portal's "color-scheme" setting, and at last the lightness of the windows' palette.
bool desktopPrefersDark();

} // namespace platform
