// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/process.h"

#include <QProcess>

namespace platform {

bool startDetached(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace platform
