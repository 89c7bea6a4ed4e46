// SPDX-License-Identifier: GPL-2.0-or-later
// TimingLog: how long the editor's common steps take in the real program, from the user's
// action to the changed picture on the screen (open, a preview update, OK, the long edits,
// save). Only when the environment variable GV_LUMIVEX_TIMING is set: each ended step then
// writes one line "lumivex timing: STEP N ms" to the standard error; otherwise every call
// returns at once.
#pragma once

#include <QString>

class QWidget;

class TimingLog
{
public:
    static bool Enabled();
    // Starts (or starts again) timing step.
    static void Start(const QString& step);
    // Ends step when it was started: shown (when given) is drawn first, so that the time
    // includes the picture the user waits for.
    static void End(const QString& step, QWidget* shown = nullptr);
};
