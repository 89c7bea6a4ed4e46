// SPDX-License-Identifier: GPL-2.0-or-later
// What the image engine prints to the terminal. libvips warns through GLib on its own log
// domain; one of its warnings comes with nearly every phone photo and tells the user nothing
// they could act on, so both programs leave it unsaid and print every other one as before.
#pragma once

namespace imaging
{

// True for an engine warning that is left unsaid.
bool isQuietedEngineWarning(const char* message);

// Sends the engine's warnings through a filter that drops the quieted ones. Done once, when
// the engine starts.
void quietHarmlessEngineWarnings();

} // namespace imaging
