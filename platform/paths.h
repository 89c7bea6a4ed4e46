// SPDX-License-Identifier: GPL-2.0-or-later
// Where the program's own files are: its folder, the read-only files it comes with (plug-ins,
// skin pictures, help, themes) and the per-user data folder for everything it writes.
#pragma once

#include <QString>

namespace platform {

// The folder of the running program file.
QString programFolder();

// The read-only files the programs come with.
enum class Shipped {
    Plugins,    // output plug-in libraries
    Graphics,   // the skin's pictures
    Help,       // the help pages
    Links,      // the web shortcut files the help menu opens
    HtmlThemes, // the HTML plug-in's shipped themes
};
// Where the files of a kind are for the program in programFolder. In the build tree they are
// beside the programs (bin/plugins, bin/graphics ...). Installed, the programs are in the
// prefix's bin/ and these in its lib/gallivex and share/gallivex, found from the program's own
// folder, so a prefix moved elsewhere still works.
QString shippedFolder(Shipped what, const QString& programFolder = platform::programFolder());

// The per-user folder for the program's writable files; whoever writes there creates it.
QString userDataFolder();

} // namespace platform
