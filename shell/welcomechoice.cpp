// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/welcomechoice.h"

#include "album/albumproject.h"
#include "platform/settings.h"

namespace
{

const QString Section = QStringLiteral("Settings");
const QString CreateNewValue = QStringLiteral("CreateNew");

} // namespace

bool WelcomeChoice::StoredCreateNew() const
{
    return m_settings.getInt(Section, CreateNewValue, 1) >= 1;
}

int WelcomeChoice::Next(bool createNew, AlbumProject& album)
{
    if (!createNew) {
        m_settings.writeInt(Section, CreateNewValue, 0);
        return AlbumManagerPage;
    }
    album.Reset();
    m_settings.writeInt(Section, CreateNewValue, 1);
    return ThemePage;
}
