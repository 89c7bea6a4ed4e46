// SPDX-License-Identifier: GPL-2.0-or-later
// The editor's command line: the caller's number, the list file of photos, a single photo.
#include <gtest/gtest.h>

#include <limits>

#include <QFileInfo>

#include "enhancer/mycmdlineinfo.h"
#include "tests/support/testenv.h"

namespace
{

TEST(CommandLineNumber, ReadLikeADecimalConversion)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"1234", 1234},
        {"", 0},
        {"abc", 0},
        {"12abc", 12},
        {"  77", 77},
        {"-5", -5},
        {"+9", 9},
        {"0x10", 0},
        {"99999999999", std::numeric_limits<int32_t>::max()},
        {"-99999999999", std::numeric_limits<int32_t>::min()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMyCmdLineInfo::ParseDecimal(QLatin1String(c.text)), c.value) << c.text;
}

TEST(CommandLine, CallerAndSingleFile)
{
    CMyCmdLineInfo info;
    info.Parse({QStringLiteral("\\w4321"), QStringLiteral("/photos/a.jpg"),
                QStringLiteral("/photos/b.jpg")});
    EXPECT_EQ(info.CallerId(), 4321);
    EXPECT_EQ(info.FileName(), QStringLiteral("/photos/a.jpg"));
    EXPECT_FALSE(info.ListMode());
    EXPECT_TRUE(info.Problems().isEmpty());
}

class ListFileTest : public ::testing::Test
{
protected:
    TestFolder folder;
    CMyCmdLineInfo info;

    QString parseList(const QByteArray& bytes)
    {
        const QString list = folder.write(QStringLiteral("list.txt"), bytes);
        info.Parse({QStringLiteral("\\b") + list, QStringLiteral("\\w77")});
        return list;
    }
};

TEST_F(ListFileTest, LinesBecomeTheListAndTheFileIsDeleted)
{
    const QString list = parseList("/p/one.jpg\n/p/two words.jpg\r\n\n/p/t\xc3\xa9.png");
    EXPECT_EQ(info.FileList(), (QStringList{"/p/one.jpg", "/p/two words.jpg",
                                            QString::fromUtf8("/p/t\xc3\xa9.png")}));
    EXPECT_TRUE(info.ListMode());
    EXPECT_EQ(info.CallerId(), 77);
    EXPECT_TRUE(info.Problems().isEmpty()) << qPrintable(info.Problems().join('\n'));
    EXPECT_FALSE(QFileInfo::exists(list));
}

TEST_F(ListFileTest, OneListedPhotoIsEnoughForListMode)
{
    parseList("/p/only.jpg\n");
    EXPECT_EQ(info.FileList(), QStringList{"/p/only.jpg"});
    EXPECT_TRUE(info.ListMode());
}

TEST_F(ListFileTest, LongPathsAreKeptWhole)
{
    // Longer than the 260 characters of old systems: one entry, not several pieces.
    const QByteArray path = "/p/" + QByteArray(1000, 'x') + ".jpg";
    parseList(path + "\n/p/next.jpg\n");
    EXPECT_EQ(info.FileList(), (QStringList{QString::fromLatin1(path), "/p/next.jpg"}));
}

TEST_F(ListFileTest, OverlongAndNonUtf8LinesAreLeftOutAndSaid)
{
    const QByteArray overlong(CMyCmdLineInfo::MaxLineBytes + 10, 'y');
    const QByteArray justFits = "/" + QByteArray(CMyCmdLineInfo::MaxLineBytes - 1, 'z');
    parseList("/p/a.jpg\n" + overlong + "\n/p/\xff\xfe.jpg\n" + justFits + "\n/p/b.jpg\n" +
              overlong);
    EXPECT_EQ(info.FileList(),
              (QStringList{"/p/a.jpg", QString::fromLatin1(justFits), "/p/b.jpg"}));
    ASSERT_EQ(info.Problems().size(), 3) << qPrintable(info.Problems().join('\n'));
    EXPECT_TRUE(info.Problems()[0].contains(QLatin1String("Line 2")))
        << qPrintable(info.Problems()[0]);
    EXPECT_TRUE(info.Problems()[1].contains(QLatin1String("Line 3")))
        << qPrintable(info.Problems()[1]);
    EXPECT_TRUE(info.Problems()[2].contains(QLatin1String("Line 6")))
        << qPrintable(info.Problems()[2]);
}

TEST_F(ListFileTest, AnEmptyListSaysSoAndStartsWithoutList)
{
    const QString list = parseList(QByteArray());
    EXPECT_TRUE(info.FileList().isEmpty());
    EXPECT_FALSE(info.ListMode());
    ASSERT_EQ(info.Problems().size(), 1);
    EXPECT_TRUE(info.Problems()[0].contains(QLatin1String("is empty")));
    EXPECT_FALSE(QFileInfo::exists(list));
}

TEST_F(ListFileTest, AMissingListSaysSo)
{
    info.Parse({QStringLiteral("\\b") + folder.file("gone.txt"), QStringLiteral("\\b")});
    EXPECT_FALSE(info.ListMode());
    ASSERT_EQ(info.Problems().size(), 2);
    EXPECT_TRUE(info.Problems()[0].contains(QLatin1String("could not be read")));
}

} // namespace
