// SPDX-License-Identifier: GPL-2.0-or-later
// Entry point of the test programs that show widgets (on the offscreen platform): as main.cpp,
// with a full application object.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>

#include "platform/imagemetadata.h"
#include "platform/settings.h"

int main(int argc, char** argv)
{
    // Test discovery runs the program without the tests' environment; there is no display
    // either way.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Before any thread starts: the metadata library is not ready for threads until then.
    imaging::metadata::startUp();
    QApplication app(argc, argv);
    Settings::setRoot(QDir::tempPath() + QStringLiteral("/gallivex-tests-settings"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
