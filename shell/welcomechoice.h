// SPDX-License-Identifier: GPL-2.0-or-later
// WelcomeChoice: the welcome page's one question, new album or existing one, remembered in
// the settings ("CreateNew"), and where each answer leads.
#pragma once

class AlbumProject;
class Settings;

class WelcomeChoice
{
public:
    static constexpr int AlbumManagerPage = 1;
    static constexpr int ThemePage = 2;

    explicit WelcomeChoice(Settings& settings) : m_settings(settings) {}

    // The stored answer: true (the default) for a new album.
    bool StoredCreateNew() const;
    // Next with the answer given: remembers it and tells the page to go to. A new album
    // starts afresh and skips the album manager.
    int Next(bool createNew, AlbumProject& album);

private:
    Settings& m_settings;
};
