// Where the program's own files are: its folder (read-only things beside it: graphics, help,
// plug-ins) and the per-user data folder for everything it writes.
#pragma once

#include <QString>

namespace platform {

// The folder of the running program file.
QString programFolder();
// The per-user folder for the program's writable files; whoever writes there creates it.
QString userDataFolder();

} // namespace platform
