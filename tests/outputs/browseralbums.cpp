// SPDX-License-Identifier: GPL-2.0-or-later
// html-browser-albums OUT [PHOTOS]: makes an album of every theme (and the variants the
// browser tests look at) in OUT/<name>, through the real host and the real HTML plug-in.
// PHOTOS is a folder of JPEG photos; by default a set of the small shared test photos with
// titles and descriptions that test escaping, line breaks and non-ASCII text.
#include <cstdio>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "platform/imagemetadata.h"
#include "platform/settings.h"
#include "tests/outputs/htmlalbum.h"

namespace
{

struct Photo {
    const char* file;
    const char* title;
    const char* description;
    const char* subfolder;
};

const Photo DefaultPhotos[] = {
    {"exs-DSCN0010.jpg", "Harbour at noon", "Boats waiting for the tide.\nSecond line kept.",
     "Coast"},
    {"exs-landscape_6.jpg", "<b>&\"' as typed", "Text <i>with</i> markup & ampersands </script><!-- café",
     "Coast"},
    {"exs-canon-ixus.jpg", "Ærø – 東京 😀", "Non-ASCII: Zürich, Kraków, Ελλάδα", "Coast"},
    {"mdi-Canon_EOS_7D.jpg", "Portrait", "", "City/Night"},
    {"exs-kodak-dc240.jpg", "", "A photo without a title", "City/Night"},
    // The title every added photo starts with: its file name.
    {"exs-nikon-e950.jpg", "exs-nikon-e950.jpg", "", "City/Night"},
    {"exs-ricoh-rdc5300.jpg", "Market", "Fresh fruit", "City/Night"},
    {"mdi-Olympus_PEN_E-P3.jpg", "Old town", "", "City/Night"},
    {"exs-olympus-c960.jpg", "Garden", "", "Garden"},
    {"fr-IPTC-PhotometadataRef-Std2021.1.jpg", "Panorama", "A wide one", "Garden"},
};

// A colour parameter's value: red in the low byte.
int colourRef(unsigned rgb)
{
    return static_cast<int>(((rgb >> 16) & 0xff) | (rgb & 0xff00) | ((rgb & 0xff) << 16));
}

struct Variant {
    const char* folder;
    int theme;
    void (*tune)(HtmlAlbum&);
    int copies = 1; // a big album: the photos over and over, each with a title of its own
};

// What the viewers offer beside a photo: its camera details and its file for download.
void viewerExtras(HtmlAlbum& album)
{
    album.setChoice("CameraData", "Keep (without location)");
    album.setChoice("Download", "Yes");
}

constexpr int BigAlbumCopies = 30; // 300 photos; equal files share their pictures, so it is quick

const Variant Variants[] = {
    {"mosaic", HtmlAlbum::Mosaic, nullptr},
    {"mosaic-light", HtmlAlbum::Mosaic, [](HtmlAlbum& a) { a.setChoice("Scheme", "Light"); }},
    {"classic", HtmlAlbum::Classic, [](HtmlAlbum& a) { a.setNumber("Rows", 2); }},
    {"classic-charcoal", HtmlAlbum::Classic,
     [](HtmlAlbum& a) {
         a.setNumber("Rows", 2);
         a.setChoice("Scheme", "Charcoal");
         a.setChoice("Style", "Sepia");
     }},
    {"slideshow", HtmlAlbum::Slideshow, [](HtmlAlbum& a) { a.setChoice("Autoplay", "No"); }},
    // Users' own accents that the page's background would swallow, and a mosaic without
    // captions, where the focus ring is all that shows which photo is chosen.
    {"mosaic-never", HtmlAlbum::Mosaic,
     [](HtmlAlbum& a) {
         a.setChoice("Captions", "Never");
         a.setChoice("Scheme", "Follow the device");
         a.setNumber("Accent", colourRef(0x1f3a93));
     }},
    {"classic-white", HtmlAlbum::Classic,
     [](HtmlAlbum& a) {
         a.setNumber("Rows", 2);
         a.setChoice("Scheme", "White");
         a.setNumber("Accent", colourRef(0xf5d76e));
     }},
    {"mosaic-300", HtmlAlbum::Mosaic, viewerExtras, BigAlbumCopies},
    {"classic-300", HtmlAlbum::Classic, viewerExtras, BigAlbumCopies},
    {"slideshow-300", HtmlAlbum::Slideshow,
     [](HtmlAlbum& a) {
         viewerExtras(a);
         a.setChoice("Autoplay", "No");
     },
     BigAlbumCopies},
};

void addPhotos(HtmlAlbum& album, const QString& folder, int copies)
{
    if (folder.isEmpty()) {
        for (int copy = 1; copy <= copies; ++copy)
            for (const Photo& photo : DefaultPhotos) {
                QString title = QString::fromUtf8(photo.title);
                if (copies > 1)
                    title = QStringLiteral("%1 %2")
                                .arg(title.isEmpty() ? QStringLiteral("Photo") : title)
                                .arg(copy);
                album.addPhoto(sharedPhoto(QString::fromUtf8(photo.file)), title,
                               QString::fromUtf8(photo.description),
                               QString::fromUtf8(photo.subfolder));
            }
        return;
    }
    const QDir dir(folder);
    for (const QString& name : dir.entryList({"*.jpg", "*.jpeg", "*.JPG"}, QDir::Files, QDir::Name))
        album.addPhoto(dir.filePath(name), QFileInfo(name).completeBaseName().replace(u'_', u' '));
}

} // namespace

int main(int argc, char** argv)
{
    imaging::metadata::startUp(); // before any thread starts
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: html-browser-albums OUT [PHOTOS]\n");
        return 2;
    }
    QTemporaryDir scratch;
    Settings::setRoot(scratch.path() + QStringLiteral("/settings"));
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString photos = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    int failures = 0;
    for (const Variant& variant : Variants) {
        HtmlAlbum album(scratch.path() + QStringLiteral("/user-themes"));
        if (!album.ready() || !album.choose(variant.theme)) {
            std::fprintf(stderr, "html-browser-albums: the HTML plug-in or theme %d is missing\n",
                         variant.theme);
            return 1;
        }
        addPhotos(album, photos, variant.copies);
        album.setChoice("InterpolationMode", QStringLiteral("Bicubic"));
        if (variant.tune)
            variant.tune(album);
        const QString destination = out + u'/' + QString::fromLatin1(variant.folder);
        QDir(destination).removeRecursively();
        const ResultCode result = album.generate(destination);
        std::printf("%-18s %s\n", variant.folder, result == GV_OK ? "made" : "FAILED");
        failures += result == GV_OK ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}
