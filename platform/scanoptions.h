// SPDX-License-Identifier: GPL-2.0-or-later
// The main settings of a scanner as the user sees them: where the sheet comes from (the glass
// or the document feeder), the colour mode, the resolution and the part of the glass scanned.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

// What a device offers, with its current values. An empty list means the device has no such
// setting (a camera has no source, a simple scanner no modes).
struct ScanChoices {
    QStringList sources;
    QString source;
    QStringList modes;
    QString mode;
    std::vector<int> resolutions; // dots per inch, ascending
    int resolution = 0;
    // The largest area the device scans, in millimetres; 0 when it cannot be chosen.
    double maxWidth = 0;
    double maxHeight = 0;
};

// What the user chose; an empty text or a 0 leaves the device's own value.
struct ScanSettings {
    QString source;
    QString mode;
    int resolution = 0;
    // The area scanned from the top left corner, in millimetres; 0 x 0 is the whole area.
    double width = 0;
    double height = 0;
};
