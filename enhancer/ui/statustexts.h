// SPDX-License-Identifier: GPL-2.0-or-later
// The status bar's four texts: the image's file name, its size and depth, the scale, and
// the place in the list of photos (empty outside list mode).
#pragma once

#include <QStringList>

class CLumivexDoc;

QStringList StatusTexts(const CLumivexDoc& doc, double zoom);
