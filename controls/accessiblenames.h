// SPDX-License-Identifier: GPL-2.0-or-later
// AccessibleNames: the names screen readers say for the controls of both programs, derived
// in this one place from what the control shows: its caption without the shortcut marker,
// the arrows of "< Back" and "Next >" or a trailing "...", else its tooltip.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace accessiblenames
{

// The name a person would say for a caption: "&Add..." is "Add", "< &Back" is "Back",
// "Save && close" is "Save & close".
QString FromCaption(const QString& caption);
// The name the control should have: its own accessible name made speakable, else its
// button caption's or the caption of the label that names it, else its tooltip's; empty
// when it shows nothing to name it by, and for labels, which are read by their text.
QString Derive(const QWidget& control);
// Names every widget of the application as it is shown (and a button again as its caption
// changes). The object lives as long as the application.
void Install();

} // namespace accessiblenames
