// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/terminal.h"

#include <csignal>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#define GV_ISATTY _isatty
#define GV_FILENO _fileno
#else
#include <unistd.h>
#define GV_ISATTY isatty
#define GV_FILENO fileno
#endif

namespace
{

volatile std::sig_atomic_t interruptRequested = 0;

extern "C" void onInterrupt(int signal)
{
    if (interruptRequested != 0) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    interruptRequested = 1;
}

} // namespace

namespace platform
{

void catchInterrupts()
{
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
}

bool interrupted()
{
    return interruptRequested != 0;
}

bool isTerminal(std::FILE* stream)
{
    return stream != nullptr && GV_ISATTY(GV_FILENO(stream)) != 0;
}

QString escapeControls(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue; // the line break that follows is kept
        if (c == u'\n' || c == u'\t' || !(c < 0x20 || (c >= 0x7F && c < 0xA0)))
            shown += QChar(c);
        else if (c < 0x80)
            shown += QStringLiteral("\\x%1").arg(uint(c), 2, 16, QChar(u'0'));
        else
            shown += QStringLiteral("\\u%1").arg(uint(c), 4, 16, QChar(u'0'));
    }
    return shown;
}

QString forStream(const QString& text, std::FILE* stream)
{
    return isTerminal(stream) ? escapeControls(text) : text;
}

int terminalColumns()
{
    const char* columns = std::getenv("COLUMNS");
    const int width = columns != nullptr ? std::atoi(columns) : 0;
    return width >= 20 ? width : 80;
}

} // namespace platform
