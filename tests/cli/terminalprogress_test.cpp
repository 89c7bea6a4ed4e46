// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/terminalprogress.h"
#include "platform/terminal.h"

namespace {

// Everything written to a scratch file, as the terminal would show it.
std::string written(std::FILE* file)
{
    std::string text;
    std::fflush(file);
    std::rewind(file);
    char buffer[256];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, got);
    return text;
}

struct Report {
    int percent;
    const char* text; // null: the operation reports no text
};

} // namespace

TEST(TerminalProgress, WritesALineOnlyWhenPercentOrTextChanges)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    TerminalProgress progress(file);
    progress.setTitle("Generating album...");
    const Report reports[] = {
        {0, nullptr},      {0, nullptr},        {10, "index.html"}, {10, "index.html"},
        {10, "page 2"},    {55, nullptr},       {100, "done 100%"},
    };
    for (const Report& report : reports) {
        progress.setPosition(report.percent);
        if (report.text != nullptr)
            progress.setText(report.text);
        EXPECT_FALSE(progress.pump());
    }
    EXPECT_EQ(written(file), "Generating album...: 0%\n"
                             "Generating album...: 10% index.html\n"
                             "Generating album...: 10% page 2\n"
                             "Generating album...: 55% page 2\n"
                             "Generating album...: 100% done 100%\n");
    std::fclose(file);
}

TEST(TerminalProgress, LineFormat)
{
    const struct {
        const char* title;
        int percent;
        const char* text;
        const char* line;
    } cases[] = {
        {"Saving...", 0, "", "Saving...: 0%"},
        {"Saving...", 42, "Trip.gvp", "Saving...: 42% Trip.gvp"},
        {"100%1 sure", 7, "%2", "100%1 sure: 7% %2"}, // percent signs are plain text
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalProgress::line(c.title, c.percent, c.text), QString(c.line)) << c.line;
}

TEST(TerminalProgress, NeverCancels)
{
    TerminalProgress progress(nullptr); // nothing to write to is no reason to fail
    progress.setPosition(50);
    EXPECT_FALSE(progress.pump());
}

TEST(TerminalProgress, BarFormat)
{
    const struct {
        int percent;
        const char* text;
        int width;
        const char* bar;
    } cases[] = {
        {0, "", 0, "Saving [..............................]   0%"},
        {50, "page 2", 0, "Saving [###############...............]  50% page 2"},
        {100, "", 0, "Saving [##############################] 100%"},
        {150, "", 0, "Saving [##############################] 100%"},
        {-5, "", 0, "Saving [..............................]   0%"},
        {10, "a long text", 50, "Saving [###...........................]  10% a lon"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TerminalProgress::bar("Saving", c.percent, c.text, c.width), QString(c.bar))
            << c.percent;
}

TEST(TerminalProgress, BarIsRedrawnInPlaceAndEndsItsLine)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        TerminalProgress progress(file, TerminalProgress::Style::Bar);
        progress.setTitle("G");
        progress.setPosition(10);
        progress.setText("long status text");
        progress.pump();
        progress.pump(); // nothing new: nothing written
        progress.setPosition(100);
        progress.setText("ok");
        progress.pump();
    }
    const int width = platform::terminalColumns() - 1;
    const std::string bar10 =
        TerminalProgress::bar("G", 10, "long status text", width).toStdString();
    const std::string bar100 = TerminalProgress::bar("G", 100, "ok", width).toStdString();
    // The shorter bar is padded with blanks over what the longer one left.
    EXPECT_EQ(written(file),
              "\r" + bar10 + "\r" + bar100 + std::string(bar10.size() - bar100.size(), ' ') + "\n");
    std::fclose(file);
}

TEST(TerminalProgress, AutoIsLinesOffATerminal)
{
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    {
        TerminalProgress progress(file, TerminalProgress::Style::Auto);
        progress.setTitle("Saving...");
        progress.setPosition(30);
        progress.pump();
    }
    EXPECT_EQ(written(file), "Saving...: 30%\n");
    std::fclose(file);
}
