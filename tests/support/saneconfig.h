// SPDX-License-Identifier: GPL-2.0-or-later
// SANE's configuration for tests: a private folder that lists only the virtual devices a test
// wants (SANE's "test" scanner, its "pnm" file reader). SANE looks its configuration folder up
// once per process, so every test of a program shares one folder, pointed at before the first
// test runs (a test file calls folder() from a namespace-scope initialiser), and rewrites the files
// in it; the services read them again each time they are started.
#pragma once

#include <QByteArray>

#include "tests/support/testenv.h"

class SaneConfig
{
public:
    // At 25.4 dots per inch a millimetre is one pixel; the scanner rounds down, so 40.5 x
    // 30.5 mm give 40 x 30 pixels.
    static QByteArray smallColourScans()
    {
        return "number_of_devices 1\nmode Color\ndepth 8\nresolution 25.4\n"
               "test-picture \"Color pattern\"\ntl_x 0.0\ntl_y 0.0\nbr_x 40.5\nbr_y 30.5\n";
    }

    // Reads that come slowly, a few kilobytes at a time, as from a real scanner: a sheet over
    // the whole glass takes a good part of a second.
    static QByteArray slowReads()
    {
        return "read-limit true\nread-limit-size 4096\nread-delay true\n"
               "read-delay-duration 40000\n";
    }

    // backends: the lines of dll.conf; testConf: the test scanner's settings.
    explicit SaneConfig(const QByteArray& backends = "test\n",
                        const QByteArray& testConf = smallColourScans())
    {
        folder().write("dll.conf", backends);
        folder().write("test.conf", testConf);
    }

    static const TestFolder& folder()
    {
        static const TestFolder shared;
        static const bool pointed = qputenv("SANE_CONFIG_DIR", shared.path().toUtf8());
        (void)pointed;
        return shared;
    }
};
