// SPDX-License-Identifier: GPL-2.0-or-later
// The theme tree's three 24 x 24 pictures: a plug-in, a template, the selected template.
#pragma once

#include <QIcon>

namespace themeicons
{

QIcon plugin();
// A template, with the selected template's picture as its selected mode.
QIcon theme();

} // namespace themeicons
