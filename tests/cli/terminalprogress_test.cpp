#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/terminalprogress.h"

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
