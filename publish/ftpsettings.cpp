// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/ftpsettings.h"

#include <QString>

#include "platform/settings.h"

namespace {

const QString Section = QStringLiteral("Settings");

// Reads a value; one below the least usable value becomes the default and is written back.
int readCorrected(Settings& settings, const QString& name, int least, int defaultValue)
{
    const int value = settings.getInt(Section, name, 0);
    if (value >= least)
        return value;
    settings.writeInt(Section, name, defaultValue);
    return defaultValue;
}

} // namespace

FtpSettings FtpSettings::ReadAndCorrect(Settings& settings)
{
    FtpSettings result;
    result.connectionTimeout =
        readCorrected(settings, QStringLiteral("FTPConnectionTimeout"), 5000, 50000);
    result.operationsTimeout =
        readCorrected(settings, QStringLiteral("FTPOperationsTimeout"), 5000, 30000);
    result.retries = readCorrected(settings, QStringLiteral("FTPNumberOfRetries"), 1, 5);
    result.retryDelay = readCorrected(settings, QStringLiteral("FTPRetryDelay"), 1, 1000);
    const QString passive = QStringLiteral("FTPForcePassiveMode");
    result.forcePassive = settings.getInt(Section, passive, 0) != 0;
    settings.writeInt(Section, passive, result.forcePassive ? 1 : 0);
    return result;
}
