// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/remotefilelist.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include <QFile>
#include <QStringDecoder>

#include <tinyxml2.h>

#include "images/imagefingerprint.h"
#include "outputs/html/albummanifest.h"
#include "platform/foldernames.h"
#include "platform/safefile.h"
#include "platform/stringtable.h"

namespace fs = std::filesystem;
using tinyxml2::XMLElement;

namespace
{

const char* const RootName = "FileList";
const char* const Prefix = "f.";
const char* const TypeAttribute = "type";
const char* const IdAttribute = "id";
const char* const NameAttribute = "name";
const char* const FileType = "file";
const char* const FolderType = "folder";

using Entry = RemoteFileList::Entry;

// Characters an element name may hold after "f.": letters and digits of any script, ".",
// "-" and "_". Anything else (spaces, "&", ":" ...) would make the document unreadable.
bool fitsElementName(QChar c)
{
    if (c.unicode() < 128)
        return c.isLetterOrNumber() || c == u'.' || c == u'-' || c == u'_';
    return c.isLetterOrNumber();
}

QString elementNameFor(const QString& name, bool& replaced)
{
    QString safe = name;
    replaced = false;
    for (QChar& c : safe) {
        if (!fitsElementName(c)) {
            c = u'_';
            replaced = true;
        }
    }
    return QString::fromLatin1(Prefix) + safe;
}

// A name from outside that we would use as one entry of a folder.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(u'\\') && !name.contains(QChar(0));
}

// ---- listing the album folder

struct Lister {
    fs::path root;               // canonical
    std::vector<fs::path> chain; // canonical folders being listed, to stop link loops
    std::vector<QString> unreadable;

    bool inside(const fs::path& target) const
    {
        const fs::path relative = target.lexically_relative(root);
        return !relative.empty() && *relative.begin() != "..";
    }

    // The kind of what entry leads to, or nullopt for something that is not listed.
    std::optional<fs::file_status> statusOf(const fs::directory_entry& entry, fs::path& real)
    {
        std::error_code error;
        const fs::file_status own = entry.symlink_status(error);
        if (error)
            return std::nullopt;
        real = entry.path();
        if (!fs::is_symlink(own))
            return own;
        real = fs::canonical(entry.path(), error);
        if (error || !inside(real))
            return std::nullopt; // dangling, or leading out of the album
        const fs::file_status target = fs::status(real, error);
        return error ? std::nullopt : std::optional(target);
    }

    Entry fileEntry(const QString& name, const fs::path& path)
    {
        Entry file;
        file.name = name;
        file.kind = Entry::Kind::File;
        file.id = QString::fromStdString(ImageFingerprint(path.string()).value_or(std::string()));
        std::error_code error;
        file.size = static_cast<qint64>(fs::file_size(path, error));
        if (error)
            file.size = -1;
        const fs::file_time_type time = fs::last_write_time(path, error);
        file.modified = error ? 0 : static_cast<int64_t>(time.time_since_epoch().count());
        return file;
    }

    void list(const fs::path& folder, const QString& relative, std::vector<Entry>& out)
    {
        std::error_code error;
        chain.push_back(fs::canonical(folder, error));
        for (fs::directory_iterator
                 it(folder, fs::directory_options::skip_permission_denied, error),
             end;
             !error && it != end; it.increment(error))
            add(*it, relative, out);
        chain.pop_back();
        std::sort(out.begin(), out.end(),
                  [](const Entry& a, const Entry& b) { return a.name < b.name; });
    }

    void add(const fs::directory_entry& entry, const QString& relative, std::vector<Entry>& out)
    {
        const std::string bytes = entry.path().filename().string();
        QStringDecoder decoder(QStringDecoder::Utf8);
        const QString name = decoder.decode(QByteArrayView(bytes));
        if (decoder.hasError()) {
            unreadable.push_back(relative + platform::shownName(QByteArray::fromStdString(bytes)));
            return;
        }
        if (relative.isEmpty() && name == RemoteFileList::FileName())
            return; // our own list is sent last, never as one of the album's files
        if (relative.isEmpty() && name == CAlbumManifest::FileName())
            return; // it names the photos' places on this computer: never sent
        fs::path real;
        const std::optional<fs::file_status> status = statusOf(entry, real);
        if (!status)
            return;
        if (fs::is_regular_file(*status)) {
            out.push_back(fileEntry(name, entry.path()));
        } else if (fs::is_directory(*status)) {
            std::error_code error;
            const fs::path canonical = fs::canonical(real, error);
            if (error || std::find(chain.begin(), chain.end(), canonical) != chain.end())
                return; // a link back to a folder we are in would never end
            Entry sub;
            sub.name = name;
            sub.kind = Entry::Kind::Folder;
            list(entry.path(), relative + name + u'/', sub.entries);
            out.push_back(std::move(sub));
        }
    }
};

// ---- reading a list

struct Reader {
    QString why;

    bool refuse(const QString& reason)
    {
        why = reason;
        return false;
    }

    bool readName(const XMLElement& element, QString& name)
    {
        const QString elementName = QString::fromUtf8(element.Name());
        if (const char* real = element.Attribute(NameAttribute))
            name = QString::fromUtf8(real);
        else if (elementName.startsWith(QLatin1String(Prefix)))
            name = elementName.mid(int(qstrlen(Prefix)));
        else
            return refuse(loadString(IDS_LIST_BAD_NAME).arg(elementName));
        return isPlainName(name) || refuse(loadString(IDS_LIST_BAD_NAME).arg(name));
    }

    bool readEntries(const XMLElement& parent, std::vector<Entry>& out, int depth)
    {
        for (const XMLElement* child = parent.FirstChildElement(); child;
             child = child->NextSiblingElement()) {
            if (depth > RemoteFileList::MaxDepth)
                return refuse(loadString(IDS_LIST_TOO_DEEP).arg(RemoteFileList::MaxDepth));
            Entry entry;
            if (!readName(*child, entry.name))
                return false;
            const char* type = child->Attribute(TypeAttribute);
            if (type != nullptr && qstrcmp(type, FileType) == 0)
                entry.kind = Entry::Kind::File;
            else if (type != nullptr && qstrcmp(type, FolderType) == 0)
                entry.kind = Entry::Kind::Folder;
            entry.id = QString::fromUtf8(child->Attribute(IdAttribute));
            if (entry.kind == Entry::Kind::Folder && !readEntries(*child, entry.entries, depth + 1))
                return false;
            out.push_back(std::move(entry));
        }
        return true;
    }
};

// ---- writing, pruning, walking

void writeEntries(tinyxml2::XMLDocument& document, XMLElement& parent,
                  const std::vector<Entry>& entries)
{
    for (const Entry& entry : entries) {
        bool replaced = false;
        XMLElement* element =
            document.NewElement(elementNameFor(entry.name, replaced).toUtf8().constData());
        if (replaced)
            element->SetAttribute(NameAttribute, entry.name.toUtf8().constData());
        if (entry.kind == Entry::Kind::File) {
            element->SetAttribute(TypeAttribute, FileType);
            element->SetAttribute(IdAttribute, entry.id.toUtf8().constData());
        } else if (entry.kind == Entry::Kind::Folder) {
            element->SetAttribute(TypeAttribute, FolderType);
            writeEntries(document, *element, entry.entries);
        }
        parent.InsertEndChild(element);
    }
}

// An empty id is no id: a file that could not be read is never taken as unchanged.
bool sameContent(const Entry& mine, const Entry& old)
{
    return !mine.id.isEmpty() && mine.id.compare(old.id, Qt::CaseInsensitive) == 0;
}

void prune(std::vector<Entry>& mine, const std::vector<Entry>& old)
{
    std::erase_if(mine, [&old](Entry& entry) {
        const auto match = std::find_if(old.begin(), old.end(),
                                        [&entry](const Entry& o) { return o.name == entry.name; });
        if (match == old.end())
            return false;
        if (entry.kind == Entry::Kind::Folder && match->kind == Entry::Kind::Folder) {
            prune(entry.entries, match->entries);
            return entry.entries.empty();
        }
        return entry.kind == Entry::Kind::File && match->kind == Entry::Kind::File &&
               sameContent(entry, *match);
    });
}

void collect(const std::vector<Entry>& entries, const QString& prefix,
             std::vector<RemoteFileList::Upload>& out)
{
    for (const Entry& entry : entries) {
        if (entry.kind == Entry::Kind::Folder)
            collect(entry.entries, prefix + entry.name + u'/', out);
        else
            out.push_back({prefix + entry.name, entry.id, entry.size, entry.modified});
    }
}

int countFiles(const std::vector<Entry>& entries)
{
    int count = 0;
    for (const Entry& entry : entries)
        count += entry.kind == Entry::Kind::Folder ? countFiles(entry.entries)
                                                   : int(entry.kind == Entry::Kind::File);
    return count;
}

} // namespace

QString RemoteFileList::FileName()
{
    return QStringLiteral("filelist.xml");
}

RemoteFileList RemoteFileList::Build(const QString& albumFolder)
{
    RemoteFileList list;
    const fs::path folder = fs::path(albumFolder.toStdString());
    std::error_code error;
    Lister lister;
    lister.root = fs::canonical(folder, error);
    if (error || !fs::is_directory(lister.root, error))
        return list;
    lister.list(folder, QString(), list.m_entries);
    list.m_unreadable = std::move(lister.unreadable);
    return list;
}

std::optional<RemoteFileList> RemoteFileList::Load(const QString& path, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = loadString(IDS_LIST_UNREADABLE).arg(file.errorString());
        return std::nullopt;
    }
    if (file.size() > MaxBytes) {
        why = loadString(IDS_LIST_TOO_LARGE).arg(MaxBytes);
        return std::nullopt;
    }
    // Read one byte more than allowed, so that a file that grows meanwhile is still refused.
    return Parse(file.read(MaxBytes + 1), why);
}

std::optional<RemoteFileList> RemoteFileList::Parse(const QByteArray& document, QString& why)
{
    if (document.size() > MaxBytes) {
        why = loadString(IDS_LIST_TOO_LARGE).arg(MaxBytes);
        return std::nullopt;
    }
    tinyxml2::XMLDocument xml;
    if (xml.Parse(document.constData(), size_t(document.size())) != tinyxml2::XML_SUCCESS) {
        why = loadString(IDS_LIST_NOT_XML).arg(QString::fromUtf8(xml.ErrorStr()));
        return std::nullopt;
    }
    // Entity declarations live in a document type; a list we write never has one.
    for (const tinyxml2::XMLNode* node = xml.FirstChild(); node; node = node->NextSibling()) {
        if (node->ToUnknown() != nullptr) {
            why = loadString(IDS_LIST_HAS_DOCTYPE);
            return std::nullopt;
        }
    }
    const XMLElement* root = xml.RootElement();
    if (root == nullptr || qstrcmp(root->Name(), RootName) != 0) {
        why = loadString(IDS_LIST_NO_ROOT);
        return std::nullopt;
    }
    RemoteFileList list;
    Reader reader;
    if (!reader.readEntries(*root, list.m_entries, 1)) {
        why = reader.why;
        return std::nullopt;
    }
    return list;
}

QByteArray RemoteFileList::ToXml() const
{
    tinyxml2::XMLDocument document;
    document.InsertEndChild(document.NewDeclaration());
    XMLElement* root = document.NewElement(RootName);
    document.InsertEndChild(root);
    writeEntries(document, *root, m_entries);
    tinyxml2::XMLPrinter printer;
    document.Print(&printer);
    return QByteArray(printer.CStr(), printer.CStrSize() - 1);
}

bool RemoteFileList::Save(const QString& path, QString* why) const
{
    return platform::writeFileSafely(path, ToXml(), why);
}

void RemoteFileList::Prune(const RemoteFileList& old)
{
    prune(m_entries, old.m_entries);
}

void RemoteFileList::AppendSelf()
{
    Entry self;
    self.name = FileName();
    m_entries.push_back(std::move(self));
}

std::vector<RemoteFileList::Upload> RemoteFileList::Uploads() const
{
    std::vector<Upload> uploads;
    collect(m_entries, QString(), uploads);
    return uploads;
}

int RemoteFileList::FileCount() const
{
    return countFiles(m_entries);
}
