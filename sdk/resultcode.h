// SPDX-License-Identifier: GPL-2.0-or-later
// Result codes shared by the host, the plug-in manager and plug-ins. The numbers are part of
// the plug-in contract: never change a value.
#pragma once

#include <cstdint>

#include "sdk/gv_string.h"

using ResultCode = int32_t;

enum : ResultCode {
    GV_OK = 0,
    GV_E_NOTIMPL = -1000,
    GV_E_INVALIDPARAM = -1001,
    GV_E_CREATEFILE = -1002,
    GV_E_WRITEFILE = -1003,
    GV_E_READFILE = -1004,
    GV_E_CLOSEFILE = -1005,
    GV_E_EXISTS = -1006,
    GV_E_DISKFULL = -1007,
    GV_E_CREATEFOLDER = -1008,
    GV_E_DELETEFILE = -1009,
    GV_E_CORRUPTED = -1010,
    GV_E_NOTFOUND = -1011,
    GV_E_OUTOFRESOURCES = -1015,
    GV_E_EXPRESSION = -1016,
    GV_E_REBUILD = -1017,
    GV_E_FILENOTFOUND = -1018,
    GV_E_PATHNOTFOUND = -1019,
    GV_E_LOADLIBRARY = -1020,
    GV_E_PLUGINFORMAT = -1021,
    GV_E_PLUGININSTALLED = -1022,
    GV_E_PLUGINNOTINSTALLED = -1023,
    GV_E_PLUGINID = -1024,
    GV_E_TEMPLATE = -1025,
    GV_E_REGISTRY = -1026,
    GV_E_RELATIVEPATH = -1027,
    GV_E_UNEXPECTED = -1028,
    GV_E_PLUGINVERSION = -1029,
    GV_CANCELLED = 1223, // the user cancelled through the progress window
};

// The text the user sees for a result code. Anything outside -1029..-1000 (a cancel included)
// is an unexpected error. Callers test for GV_OK before asking.
inline gv_string FormatResultMessage(ResultCode code)
{
    static const char* const unexpected = "Unexpected error";
    static const char* const messages[30] = {
        "Plugin version %s is unsupported.\n\nPlease download the latest version and build "
        "available from our website and upgrade your installation.\n\nWould you like to open "
        "the download page now?",                    // -1029
        unexpected,                                  // -1028
        "Could not restore relative image path",     // -1027
        "Could not access registry",                 // -1026
        "Template is invalid",                       // -1025
        "Plugin ID is invalid",                      // -1024
        "Plugin is not properly installed",          // -1023
        "The specified plugin is already installed", // -1022
        "Plugin format is unsupported",              // -1021
        "Could not load library",                    // -1020
        "Path does not exist",                       // -1019
        "The specified file is not found",           // -1018
        "Error file rebuild",                        // -1017
        "Invalid expression",                        // -1016
        "Out of system resources",                   // -1015
        unexpected,                                  // -1014
        unexpected,                                  // -1013
        unexpected,                                  // -1012
        "The specified item is not found",           // -1011
        "File is corrupted or file version is unsupported", // -1010
        "Could not delete file",                     // -1009
        "Could not create folder",                   // -1008
        "Not enough disk space",                     // -1007
        "The specified item already exists",         // -1006
        "Could not close file",                      // -1005
        "Could not read file",                       // -1004
        "Could not write into the file",             // -1003
        "Error while creating file",                 // -1002
        "Parameter is not valid.",                   // -1001
        "Method not implemented yet.",               // -1000
    };
    const int64_t slot = static_cast<int64_t>(code) + 1029;
    if (slot < 0 || slot >= 30)
        return gv_string(unexpected);
    return gv_string(messages[slot]);
}
