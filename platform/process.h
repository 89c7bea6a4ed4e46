// SPDX-License-Identifier: GPL-2.0-or-later
// Starting other programs (the photo editor, the setup program, the print program).
#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Starts program with arguments passed as they are (never through a shell) and does not
// wait for it. False when it could not be started.
bool startDetached(const QString& program, const QStringList& arguments);

} // namespace platform
