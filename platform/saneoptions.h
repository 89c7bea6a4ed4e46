// SPDX-License-Identifier: GPL-2.0-or-later
// Reading and setting the main options of an open SANE device: source, mode, resolution and
// scan area, found by their standard names.
#pragma once

#include <sane/sane.h>

#include "platform/scanoptions.h"

namespace sane
{

// The option's index by name; 0 when the device has none.
SANE_Int findOption(SANE_Handle handle, const char* name);
// Whether a source of that name takes its sheets from a document feeder.
bool isFeederSource(const QString& source);
// The first value of the source option that names a feeder (or, with feeder false, one that
// does not); empty when there is none.
QString feederSource(SANE_Handle handle, bool feeder);

// What the device offers now.
ScanChoices readChoices(SANE_Handle handle);
// Sets what settings ask for, source first since it may change what the others allow. The
// first failure's status; SANE_STATUS_GOOD when everything was set.
SANE_Status applySettings(SANE_Handle handle, const ScanSettings& settings);
// Sets a string option by name.
SANE_Status setString(SANE_Handle handle, const char* name, const QString& value);

} // namespace sane
