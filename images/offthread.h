// SPDX-License-Identifier: GPL-2.0-or-later
// Running a call that may block for seconds (a scanner warming up, a slow picture) on a worker
// thread while the calling thread's events keep flowing: windows repaint, timers fire and a
// Cancel button can be pressed.
#pragma once

#include <functional>

// Runs work on a new thread and returns when it has finished; meanwhile the calling thread runs
// its event loop and calls onTick every tickMs milliseconds. work must not touch widgets.
void runOffThread(const std::function<void()>& work, const std::function<void()>& onTick = {},
                  int tickMs = 50);
