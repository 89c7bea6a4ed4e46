#include "platform/terminal.h"

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

namespace platform
{

bool isTerminal(std::FILE* stream)
{
    return stream != nullptr && GV_ISATTY(GV_FILENO(stream)) != 0;
}

int terminalColumns()
{
    const char* columns = std::getenv("COLUMNS");
    const int width = columns != nullptr ? std::atoi(columns) : 0;
    return width >= 20 ? width : 80;
}

} // namespace platform
