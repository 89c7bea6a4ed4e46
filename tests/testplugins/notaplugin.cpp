// SPDX-License-Identifier: GPL-2.0-or-later
// A shared library that is not a plug-in: it exports nothing the plug-in manager looks for.
extern "C" __attribute__((visibility("default"))) int gvtest_not_a_plugin()
{
    return 42;
}
