// SPDX-License-Identifier: GPL-2.0-or-later
// The engine's warnings on the terminal: the colour-profile note that comes with nearly every
// phone photo is left unsaid, every other warning is printed as before.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>

#include <QFile>

#include <vips/vips8>

#include "platform/enginewarnings.h"
#include "platform/imaging.h"
#include "tests/support/phonephotos.h"
#include "tests/support/testenv.h"

namespace
{

constexpr const char* NclxNote = "heifload: ignoring nclx profile";

// What the process writes to its standard error while work runs.
template <typename Work> QByteArray standardErrorOf(const QString& file, Work work)
{
    std::fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    std::FILE* capture = std::fopen(file.toUtf8().constData(), "w");
    if (saved < 0 || capture == nullptr)
        return "capture failed";
    dup2(fileno(capture), STDERR_FILENO);
    work();
    std::fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    std::fclose(capture);
    QFile read(file);
    return read.open(QIODevice::ReadOnly) ? read.readAll() : QByteArray("unreadable");
}

void recordWarning(const gchar*, GLogLevelFlags, const gchar* message, gpointer seen)
{
    static_cast<QStringList*>(seen)->append(QString::fromUtf8(message));
}

void decode(const QString& path)
{
    const auto image = imaging::Image::open(path);
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixels(QSize(32, 24)).isNull());
}

} // namespace

TEST(EngineWarnings, OnlyTheColourProfileNoteIsQuieted)
{
    EXPECT_TRUE(imaging::isQuietedEngineWarning(NclxNote));
    EXPECT_FALSE(imaging::isQuietedEngineWarning(nullptr));
    EXPECT_FALSE(imaging::isQuietedEngineWarning(""));
    EXPECT_FALSE(imaging::isQuietedEngineWarning("heifload: ignoring nclx profile and more"));
    EXPECT_FALSE(imaging::isQuietedEngineWarning("jpegload: premature end of JPEG file"));
}

TEST(EngineWarnings, APhonePhotoOpensWithoutTheNoteAndOtherWarningsStillShow)
{
    TestFolder folder;
    ASSERT_TRUE(imaging::startImaging());
    const QString avif =
        makePhonePhoto(sharedTestData("photos/exs-DSCN0010.jpg"), folder.path(), "p.avif");
    ASSERT_FALSE(avif.isEmpty());

    // The photo does make the engine say it: heard by a handler of the test's own.
    QStringList seen;
    const guint recorder = g_log_set_handler("VIPS", G_LOG_LEVEL_WARNING, recordWarning, &seen);
    decode(avif);
    g_log_remove_handler("VIPS", recorder);
    ASSERT_TRUE(seen.contains(QString::fromLatin1(NclxNote))) << qPrintable(seen.join('|'));

    const QByteArray printed = standardErrorOf(folder.file("stderr.txt"), [&] {
        decode(avif);
        g_log("VIPS", G_LOG_LEVEL_WARNING, "%s", "tiffload: an unknown tag");
    });
    EXPECT_FALSE(printed.contains("nclx")) << printed.constData();
    EXPECT_TRUE(printed.contains("tiffload: an unknown tag")) << printed.constData();
}
