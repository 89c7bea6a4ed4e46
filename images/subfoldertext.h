// SPDX-License-Identifier: GPL-2.0-or-later
// Subfolder texts: the relative folder under which a photo was found by a folder scan
// ("2004\Summer"), which templates that group photos use. Parts are separated by '\', as
// project files have always stored them.
#pragma once

#include <QString>
#include <QStringList>

namespace subfoldertext
{

// The text of a folder named name found inside a folder whose text is parent.
QString Join(const QString& parent, const QString& name);
// The longest common prefix of the texts, character by character; "" for no texts.
QString CommonPrefix(const QStringList& texts);
// A text the user typed, as it is stored: every '/' becomes '\', and one leading and one
// trailing '\' are removed.
QString Normalise(const QString& typed);

} // namespace subfoldertext
