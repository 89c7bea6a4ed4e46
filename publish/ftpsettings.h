// SPDX-License-Identifier: GPL-2.0-or-later
// FtpSettings: the time-outs, retries and mode of publishing, as the user's settings keep them.
#pragma once

class Settings;

struct FtpSettings {
    int connectionTimeout = 50000; // ms, the whole connect and login
    int operationsTimeout = 30000; // ms, a reply or data moving
    int retries = 5;               // attempts per operation and per connection reset
    int retryDelay = 1000;         // ms between attempts
    bool forcePassive = false;     // skip the active-mode attempt

    // Reads the five values of the "Settings" section; a value too small to work with is
    // replaced by its default and written back, and the passive flag is written back as 1 or 0,
    // so that the user's store always shows what the program uses.
    static FtpSettings ReadAndCorrect(Settings& settings);
};
