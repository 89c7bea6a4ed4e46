// SPDX-License-Identifier: GPL-2.0-or-later
// Test entry point: an application object for the Qt parts, settings kept in a scratch
// folder until a test sets its own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include "platform/imagemetadata.h"
#include "platform/settings.h"

int main(int argc, char** argv)
{
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QCoreApplication app(argc, argv);
    Settings::setRoot(QDir::tempPath() + QStringLiteral("/gallivex-tests-settings"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
