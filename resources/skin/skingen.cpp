// SPDX-License-Identifier: GPL-2.0-or-later
// Draws every skin picture into the graphics folder given on the command line: name.gif at
// its own size and name@2x.gif at twice the size for high-density screens, in the light
// colours and beside them in the dark ones (name-dark.gif, name-dark@2x.gif); and the
// application icon as gallivex.svg and gallivex-<size>.png.
#include <cstdio>

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "appicon.h"
#include "gifwriter.h"
#include "skinart.h"

namespace
{

QString scaledName(const QString& file, int scale)
{
    if (scale == 1)
        return file;
    const int dot = file.lastIndexOf(QLatin1Char('.'));
    return file.left(dot) + QStringLiteral("@%1x").arg(scale) + file.mid(dot);
}

// Every user of an installed program needs to read its pictures.
bool readableByAll(const QString& path)
{
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                           QFile::ReadOther);
}

bool writeOne(const ArtSpec& spec, const QDir& folder, int scale, ColourScheme scheme)
{
    const QString file = SkinScheme::pictureFile(QString::fromLatin1(spec.file), scheme);
    const QString path = folder.filePath(scaledName(file, scale));
    const QImage art = drawArt(spec, scale, scheme);
    const bool written = file.endsWith(QLatin1String(".jpg"))
                             ? art.convertToFormat(QImage::Format_RGB32).save(path, "JPEG", 92)
                             : writeGif(art, path, artMatte(spec, scheme));
    // The GIF library makes files only their owner can read.
    return written && readableByAll(path);
}

int writeAppIcon(const QDir& folder)
{
    int failures = 0;
    const QString svgPath = folder.filePath(QStringLiteral("gallivex.svg"));
    QFile svg(svgPath);
    if (!svg.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        svg.write(appIconSvg().toUtf8()) < 0 || !svg.flush() || !readableByAll(svgPath)) {
        std::fprintf(stderr, "gvskingen: cannot write gallivex.svg\n");
        ++failures;
    }
    for (int side : appIconSizes()) {
        const QString path = folder.filePath(QStringLiteral("gallivex-%1.png").arg(side));
        if (!drawAppIcon(side).save(path, "PNG") || !readableByAll(path)) {
            std::fprintf(stderr, "gvskingen: cannot write gallivex-%d.png\n", side);
            ++failures;
        }
    }
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: gvskingen <graphics folder>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "gvskingen: cannot make %s\n", argv[1]);
        return 1;
    }
    int failures = 0;
    for (ColourScheme scheme : {ColourScheme::Light, ColourScheme::Dark})
        for (const ArtSpec& spec : artTable())
            for (int scale : {1, 2})
                if (!writeOne(spec, folder, scale, scheme)) {
                    std::fprintf(stderr, "gvskingen: cannot write %s\n", spec.file);
                    ++failures;
                }
    failures += writeAppIcon(folder);
    return failures == 0 ? 0 : 1;
}
