// SPDX-License-Identifier: GPL-2.0-or-later
// Size expressions of theme manifests: how big a picture or a sheet is, in terms of the
// theme's number parameters: "1600", "BigSize", "BigSize/2", "ThumbSize*2", "Columns*Rows".
#pragma once

#include <functional>
#include <optional>

#include <QString>

namespace html
{

// The number a parameter name stands for, or nothing when it names no number.
using NumberOf = std::function<std::optional<int>(const QString& name)>;

// The value of expr, or nothing when it is malformed or names something that is no number.
// Division by zero gives nothing too.
std::optional<int> evaluateSize(const QString& expr, const NumberOf& numberOf);

} // namespace html
