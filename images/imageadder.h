// SPDX-License-Identifier: GPL-2.0-or-later
// CImageAdder: adds photos to the image list page as its Add and Add Folder commands do: the
// photo file types they take, the title made from the file name, the automatic description
// made from the photo's IPTC caption and EXIF texts, and the subfolder texts of a folder scan.
// The command-line tool adds photos the same way, so an album made there looks the same.
#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class CPageImages;
class Prompter;
class Settings;

namespace imaging
{
class Image;
}

class CImageAdder
{
public:
    // Which automatic descriptions are made ("Settings" section: "AutoDescriptions",
    // "AutoDescriptionIPTC", "AutoDescriptionEXIF", "NumberOfBlankLinesForComment").
    struct Options {
        bool autoDescriptions = true;
        bool fromIptc = true;
        bool fromExif = true;
        int blankLines = 0;
    };
    static Options OptionsFromSettings(const Settings& settings);

    // What the page makes of one photo.
    struct Described {
        bool readable = false; // opens as an image (a Photoshop file is taken all the same)
        QString fault;         // why a photo that opens is not taken (too many pixels)
        QString faultReason;   // the same without the path
        QString title;
        QString description;
    };

    CImageAdder(CPageImages& rows, Prompter& prompter, Options options);

    // The Add command: every path whose file type the filter names goes to AddImageFile with
    // no subfolder text. Returns how many were added.
    int AddFiles(const QStringList& paths);
    // The Add Folder command: the photos of folder, and of its subfolders when recurse is
    // set (each folder once, however links lead back to it); with parse set each photo gets
    // the subfolder text of where it was found below folder. Returns how many were added.
    int AddFolderImages(const QString& folder, bool recurse, bool parse,
                        const QString& subfolder = QString());
    // Adds one photo at the end of the list. A file that does not open as an image is left
    // out and told to the user (its path is the message, or the fault that names it; a
    // folder scan tells them all at its end instead); false then.
    bool AddImageFile(const QString& path, const QString& subfolder);

    // The files that AddImageFile left out because they did not open, in order.
    const QStringList& Unreadable() const { return m_unreadable; }
    // A file left out and why: not a type albums take, cannot be read, too many pixels.
    struct LeftOutFile {
        QString path;
        QString reason;
        QString Line() const { return path + QStringLiteral(": ") + reason; }
    };
    // Every file left out, in order. A folder scan shows those it left out in one message
    // at its end, a line for each.
    const QList<LeftOutFile>& LeftOut() const { return m_leftOut; }
    // How many lines of left-out files one message shows before it only counts the rest.
    static constexpr int ShownLeftOut = 25;
    // The photos and folders folder scans skipped because their names are not valid UTF-8,
    // as paths with the name's bytes shown ("caf\xE9.jpg"), in order. A scan that skipped
    // any tells the user which.
    const QStringList& Skipped() const { return m_skipped; }

    // The title and automatic description the page gives a photo.
    static Described Describe(const QString& path, const Options& options);
    // The automatic description from an IPTC caption (when one was read) and the EXIF texts
    // of the opened image (when it could be opened).
    static QString AutomaticDescription(const QString* caption, const imaging::Image* image,
                                        const Options& options);

    // The file types of the Add commands, as the file chooser's filter text: the classic
    // ones and those of today's phones (HEIF, AVIF, WebP, JPEG XL) this machine decodes.
    static QString FileFilter();
    // The Add command's test: the path's extension, lower-cased, occurs in the filter text.
    static bool PassesFileFilter(const QString& path);
    // The folder scan's test: "*" and the lower-cased extension occur in the filter text.
    static bool PassesFolderFilter(const QString& path);
    // The file name with its extension; both '/' and '\' separate folders.
    static QString TitleOf(const QString& path);
    // The extension from the last '.' of the file name, with the '.'; "" when it has none.
    static QString ExtensionOf(const QString& path);

    // Double quotes and tabs become spaces: descriptions end up inside generated pages.
    static QString DescriptionCleanup(QString text);
    // A description typed by the user as it is stored: leading and trailing line breaks
    // removed, then cleaned up.
    static QString StoredDescription(const QString& typed);

private:
    void scanFolder(const QString& folder, bool recurse, bool parse, const QString& subfolder,
                    QSet<QString>& visited, int& added);
    void tellLeftOut(qsizetype from);

    CPageImages& m_rows;
    Prompter& m_prompter;
    Options m_options;
    QStringList m_unreadable;
    QList<LeftOutFile> m_leftOut;
    QStringList m_skipped;
    bool m_scanning = false; // a folder scan tells what it left out at its end
};
