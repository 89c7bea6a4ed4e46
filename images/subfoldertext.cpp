// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/subfoldertext.h"

namespace subfoldertext
{

QString Join(const QString& parent, const QString& name)
{
    return parent.isEmpty() ? name : parent + u'\\' + name;
}

QString CommonPrefix(const QStringList& texts)
{
    if (texts.isEmpty())
        return QString();
    QString prefix = texts.first();
    for (const QString& text : texts) {
        qsizetype same = 0;
        while (same < prefix.size() && same < text.size() && prefix[same] == text[same])
            ++same;
        prefix.truncate(same);
    }
    return prefix;
}

QString Normalise(const QString& typed)
{
    QString text = typed;
    text.replace(u'/', u'\\');
    if (text.startsWith(u'\\'))
        text.remove(0, 1);
    if (text.endsWith(u'\\'))
        text.chop(1);
    return text;
}

} // namespace subfoldertext
