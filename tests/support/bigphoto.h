// SPDX-License-Identifier: GPL-2.0-or-later
// A full-size photo for the tests that check decoding big pictures in little memory.
#pragma once

#include <QString>

// A 5760 x 3840 JPEG (22 megapixels) made once per test program by tiling a small real photo of
// the test data, so it has a real photo's detail at every scale; empty when it cannot be made
// (the reason is a test failure).
QString bigTestPhoto();
