// SPDX-License-Identifier: GPL-2.0-or-later
// The thread sanitizer's settings for the program it is built into: the first report ends
// the program with a failing exit code, so that a race fails the test instead of scrolling by.
// The photo decoder's own worker threads synchronise inside its uninstrumented libraries,
// which the sanitizer cannot see; reports from inside those libraries are left out. So are
// those inside the framework's event posting and its image thread pool, whose locks are
// futexes the sanitizer does not see either. Our own threads synchronise through locks it does see.
extern "C" const char* __tsan_default_options();
extern "C" const char* __tsan_default_suppressions();

extern "C" const char* __tsan_default_options()
{
    return "halt_on_error=1:exitcode=66:second_deadlock_stack=1";
}

extern "C" const char* __tsan_default_suppressions()
{
    return "called_from_lib:libvips.so.42\n"
           "called_from_lib:libjpeg.so.62\n"
           "called_from_lib:libpng16.so.16\n"
           "called_from_lib:libexif.so.12\n"
           "race:libvips.so.42\n"
           "race:libjpeg.so.62\n"
           "race:libpng16.so.16\n"
           "race:libexif.so.12\n"
           "race:libglib-2.0.so.0\n"
           "race:libgobject-2.0.so.0\n"
           "race:libQt6Core.so.6\n"
           "race:libQt6Gui.so.6\n";
}
