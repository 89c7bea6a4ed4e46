// SPDX-License-Identifier: GPL-2.0-or-later
#include "outputs/html/themefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace html
{

bool isSafeRelativePath(const QString& path)
{
    if (path.isEmpty() || path.size() > 200 || path.startsWith(u'/'))
        return false;
    for (const QChar c : path)
        if (c.unicode() < 0x20 || c == u'\\' || c == u':' || c.unicode() == 0x7f)
            return false;
    for (const QString& part : path.split(u'/'))
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String(".."))
            return false;
    return true;
}

std::optional<QString> fileInside(const QString& folder, const QString& relative)
{
    if (!isSafeRelativePath(relative))
        return std::nullopt;
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(QDir(folder).filePath(relative));
    const QString real = file.canonicalFilePath(); // links resolved; "" when missing
    if (root.isEmpty() || real.isEmpty() || !real.startsWith(root + u'/') ||
        !QFileInfo(real).isFile())
        return std::nullopt;
    return real;
}

std::optional<QByteArray> readInside(const QString& folder, const QString& relative,
                                     qint64 maxBytes)
{
    const std::optional<QString> path = fileInside(folder, relative);
    if (!path)
        return std::nullopt;
    QFile file(*path);
    if (file.size() > maxBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace html
