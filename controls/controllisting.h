// SPDX-License-Identifier: GPL-2.0-or-later
// ControlListing: the controls a person sees in a window: visible widgets that are not mere
// containers, with their places. The wizard prints the listing on every page change when
// GALLIVEX_DEBUG_CONTROLS=1, so that a test driving the real program on a screen can find
// what to click.
#pragma once

#include <vector>

#include <QRect>
#include <QString>

class QTextStream;
class QWidget;

namespace controllisting
{

// The visible controls inside root, in the order of the widget tree. A list, a field or a
// button counts as one control with its parts; a plain container is looked into.
std::vector<QWidget*> VisibleControls(const QWidget& root);
// What a screen reader says for the control: its accessible name.
QString SpokenName(QWidget& control);
// "control <class> "<name>" <x> <y> <w> <h>" in screen coordinates.
QString Describe(QWidget& control);
// True when GALLIVEX_DEBUG_CONTROLS is 1.
bool Wanted();
// "page <index>", then one Describe line per visible control of window.
void List(int pageIndex, const QWidget& window, QTextStream& out);

} // namespace controllisting
