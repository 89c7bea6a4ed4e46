// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/imageadder.h"

#include <algorithm>
#include <memory>
#include <optional>

#include <QDir>
#include <QFileInfo>

#include "images/exifreader.h"
#include "images/iptc.h"
#include "images/pageimages.h"
#include "images/subfoldertext.h"
#include "platform/foldernames.h"
#include "platform/imaging.h"
#include "platform/phototypes.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"

namespace
{

const QString SettingsSection = QStringLiteral("Settings");
// Some cameras write this into every photo; it describes nothing.
const QString CameraPlaceholder = QStringLiteral("OLYMPUS DIGITAL CAMERA");

bool isSeparator(QChar c)
{
    return c == u'/' || c == u'\\';
}

} // namespace

CImageAdder::Options CImageAdder::OptionsFromSettings(const Settings& settings)
{
    Options options;
    options.autoDescriptions =
        settings.getInt(SettingsSection, QStringLiteral("AutoDescriptions"), 1) != 0;
    options.fromIptc =
        settings.getInt(SettingsSection, QStringLiteral("AutoDescriptionIPTC"), 1) != 0;
    options.fromExif =
        settings.getInt(SettingsSection, QStringLiteral("AutoDescriptionEXIF"), 1) != 0;
    options.blankLines =
        settings.getInt(SettingsSection, QStringLiteral("NumberOfBlankLinesForComment"), 0);
    return options;
}

CImageAdder::CImageAdder(CPageImages& rows, Prompter& prompter, Options options)
    : m_rows(rows), m_prompter(prompter), m_options(options)
{
}

int CImageAdder::AddFiles(const QStringList& paths)
{
    int added = 0;
    for (const QString& path : paths)
        if (PassesFileFilter(path) && AddImageFile(path, QString()))
            ++added;
    return added;
}

int CImageAdder::AddFolderImages(const QString& folder, bool recurse, bool parse,
                                 const QString& subfolder)
{
    QSet<QString> visited;
    int added = 0;
    const qsizetype skippedBefore = m_skipped.size();
    const qsizetype leftOutBefore = m_leftOut.size();
    m_scanning = true;
    scanFolder(folder, recurse, parse, subfolder, visited, added);
    m_scanning = false;
    tellLeftOut(leftOutBefore);
    if (m_skipped.size() > skippedBefore)
        m_prompter.message(
            loadString(IDS_NAMES_NOT_UTF8).arg(m_skipped.mid(skippedBefore).join(u'\n')),
            Prompter::Icon::Warning);
    return added;
}

void CImageAdder::tellLeftOut(qsizetype from)
{
    const qsizetype count = m_leftOut.size() - from;
    if (count <= 0)
        return;
    QStringList lines;
    for (qsizetype i = 0; i < std::min<qsizetype>(count, ShownLeftOut); ++i)
        lines << m_leftOut[from + i].Line();
    if (count > ShownLeftOut)
        lines << loadString(IDS_LEFT_OUT_MORE).arg(count - ShownLeftOut);
    m_prompter.message(loadString(IDS_FILES_LEFT_OUT).arg(lines.join(u'\n')),
                       Prompter::Icon::Warning);
}

void CImageAdder::scanFolder(const QString& folder, bool recurse, bool parse,
                             const QString& subfolder, QSet<QString>& visited, int& added)
{
    // A link back to a folder above would otherwise send the scan round for ever.
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (canonical.isEmpty() || visited.contains(canonical))
        return;
    visited.insert(canonical);
    const QString base = !folder.isEmpty() && isSeparator(folder.back()) ? folder : folder + u'/';
    // Names in the order a directory listing shows them; hidden entries (thumbnail caches,
    // version control) are no photos of the user's.
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    // The listing leaves out names that are not valid UTF-8; the user is told of them.
    for (const platform::UndecodableEntry& entry : platform::undecodableEntries(folder))
        if (!entry.hidden && (entry.folder ? recurse : PassesFolderFilter(entry.shownName)))
            m_skipped << base + entry.shownName;
    for (const QFileInfo& entry : entries) {
        const QString name = entry.fileName();
        if (entry.isDir()) {
            if (recurse)
                scanFolder(base + name, recurse, parse, subfoldertext::Join(subfolder, name),
                           visited, added);
        } else if (!PassesFolderFilter(name)) {
            m_leftOut << LeftOutFile{base + name, loadString(IDS_LEFT_OUT_TYPE)};
        } else if (AddImageFile(base + name, parse ? subfolder : QString())) {
            ++added;
        }
    }
}

bool CImageAdder::AddImageFile(const QString& path, const QString& subfolder)
{
    Described described = Describe(path, m_options);
    if (!described.readable || !described.fault.isEmpty()) {
        m_unreadable << path;
        m_leftOut << LeftOutFile{path, described.fault.isEmpty()
                                           ? loadString(IDS_LEFT_OUT_UNREADABLE)
                                           : described.faultReason};
        if (!m_scanning)
            m_prompter.message(described.fault.isEmpty() ? path : described.fault,
                               Prompter::Icon::Error);
        return false;
    }
    m_rows.Append({path, described.title, described.description, subfolder});
    return true;
}

CImageAdder::Described CImageAdder::Describe(const QString& path, const Options& options)
{
    Described described;
    described.title = TitleOf(path);
    const bool photoshop =
        ExtensionOf(path).compare(QStringLiteral(".psd"), Qt::CaseInsensitive) == 0;
    // Only plain files are read: a pipe or device named like a photo would never end.
    const bool plainFile = QFileInfo(path).isFile();
    std::optional<QString> caption;
    std::unique_ptr<imaging::Image> image;
    if (plainFile) {
        CIPTC iptc;
        if (iptc.Read(path))
            caption = iptc.Text(CIPTC::Caption);
        image = imaging::Image::open(path);
    }
    if (image) {
        described.fault = imaging::pixelLimitFault(path, image->width(), image->height());
        described.faultReason = imaging::pixelLimitReason(image->width(), image->height());
    }
    // Photoshop files that the imaging library cannot read are still taken.
    described.readable = image != nullptr || photoshop;
    if (described.readable)
        described.description =
            AutomaticDescription(caption ? &*caption : nullptr, image.get(), options);
    return described;
}

namespace
{

// The EXIF text without the lines the caption already says: cameras and editors often put
// the same text in both places. Its trailing blank lines stay.
QString withoutRepeats(const QString& summary, const QString& caption)
{
    if (caption.isEmpty())
        return summary;
    const QString lineBreak = QStringLiteral("\r\n");
    // A caption of several lines is matched whole, at the start where the EXIF text has it.
    if (summary == caption)
        return QString();
    if (summary.startsWith(caption + lineBreak))
        return summary.mid(caption.size() + lineBreak.size());
    QStringList lines = summary.split(lineBreak);
    lines.removeIf([&](const QString& line) { return line == caption; });
    return lines.join(lineBreak);
}

} // namespace

QString CImageAdder::AutomaticDescription(const QString* caption, const imaging::Image* image,
                                          const Options& options)
{
    QString description;
    if (!options.autoDescriptions)
        return description;
    if (options.fromIptc && caption != nullptr && !caption->isEmpty() &&
        !caption->startsWith(CameraPlaceholder))
        description += *caption;
    if (options.fromExif && image != nullptr) {
        bool found = false;
        const QString summary = withoutRepeats(
            exif::BuildExifDescription(*image, found, options.blankLines), description);
        if (found && !summary.isEmpty()) {
            if (!description.isEmpty())
                description += QStringLiteral("\r\n");
            description += summary;
        }
    }
    return description;
}

QString CImageAdder::FileFilter()
{
    return imaging::withModernTypes(loadString(IDS_IMAGE_FILE_FILTER), imaging::modernPhotoTypes());
}

bool CImageAdder::PassesFileFilter(const QString& path)
{
    return FileFilter().contains(ExtensionOf(path).toLower());
}

bool CImageAdder::PassesFolderFilter(const QString& path)
{
    return FileFilter().contains(u'*' + ExtensionOf(path).toLower());
}

QString CImageAdder::TitleOf(const QString& path)
{
    qsizetype start = path.size();
    while (start > 0 && !isSeparator(path[start - 1]))
        --start;
    return path.mid(start);
}

QString CImageAdder::ExtensionOf(const QString& path)
{
    const QString name = TitleOf(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

QString CImageAdder::DescriptionCleanup(QString text)
{
    text.replace(u'"', u' ');
    text.replace(u'\t', u' ');
    return text;
}

QString CImageAdder::StoredDescription(const QString& typed)
{
    qsizetype begin = 0;
    qsizetype end = typed.size();
    const auto lineBreak = [](QChar c) { return c == u'\r' || c == u'\n'; };
    while (begin < end && lineBreak(typed[begin]))
        ++begin;
    while (end > begin && lineBreak(typed[end - 1]))
        --end;
    return DescriptionCleanup(typed.mid(begin, end - begin));
}
