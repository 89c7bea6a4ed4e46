// SPDX-License-Identifier: GPL-2.0-or-later
// SiteEntry: one remembered FTP site of the publish dialog's address list: the address as
// typed, how to log in, and whether the password is remembered.
#pragma once

#include <QString>

struct SiteEntry {
    bool anonymous = false;
    bool savePassword = false;
    QString server; // the address, the list entry's text
    QString login;
    QString password;

    // The stored flags: 2 anonymous, 1 password saved.
    int ConfigFlags() const { return (anonymous ? 2 : 0) | (savePassword ? 1 : 0); }
    bool operator==(const SiteEntry&) const = default;
};
