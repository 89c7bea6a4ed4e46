// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/placebookmarks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#include <vector>

#include <tinyxml2.h>

namespace platform {

namespace {

struct GtkPlace {
    QString uri;
    QString label;
};

// One place a line: its address, then after a space the label it is shown with.
QList<GtkPlace> readGtk(const QString& file)
{
    QList<GtkPlace> places;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return places;
    for (const QString& line : QString::fromUtf8(in.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        const qsizetype space = line.indexOf(u' ');
        places.push_back(space < 0 ? GtkPlace{line, QString()}
                                   : GtkPlace{line.left(space), line.mid(space + 1)});
    }
    return places;
}

// Replaced whole, so a file manager never reads half a list.
bool writeBytes(const QString& file, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile out(file);
    return out.open(QIODevice::WriteOnly) && out.write(bytes) == bytes.size() && out.commit();
}

bool writeGtk(const QString& file, const QList<GtkPlace>& places)
{
    QByteArray bytes;
    for (const GtkPlace& place : places)
        bytes += (place.label.isEmpty() ? place.uri : place.uri + u' ' + place.label).toUtf8() + '\n';
    return writeBytes(file, bytes);
}

// A label ends at the line's end: line breaks in a name would start another place.
QString oneLine(QString name)
{
    return name.replace(u'\n', u' ').replace(u'\r', u' ');
}

QString titleOf(const tinyxml2::XMLElement* bookmark)
{
    const tinyxml2::XMLElement* title = bookmark->FirstChildElement("title");
    return title != nullptr && title->GetText() != nullptr ? QString::fromUtf8(title->GetText())
                                                           : QString();
}

// KDE's places, or nothing when the user has none or they cannot be read.
class KdePlaces {
public:
    explicit KdePlaces(const QString& file) : m_file(file)
    {
        QFile in(file);
        if (in.open(QIODevice::ReadOnly)) {
            const QByteArray bytes = in.readAll();
            m_loaded = m_document.Parse(bytes.constData(), static_cast<size_t>(bytes.size())) ==
                           tinyxml2::XML_SUCCESS &&
                       m_document.RootElement() != nullptr;
        }
    }
    bool loaded() const { return m_loaded; }
    tinyxml2::XMLElement* root() { return m_document.RootElement(); }
    tinyxml2::XMLDocument& document() { return m_document; }
    // Every place called name.
    std::vector<tinyxml2::XMLElement*> named(const QString& name)
    {
        std::vector<tinyxml2::XMLElement*> found;
        for (auto* bookmark = root()->FirstChildElement("bookmark"); bookmark != nullptr;
             bookmark = bookmark->NextSiblingElement("bookmark")) {
            if (titleOf(bookmark) == name)
                found.push_back(bookmark);
        }
        return found;
    }
    bool save()
    {
        tinyxml2::XMLPrinter printer;
        m_document.Print(&printer);
        return writeBytes(m_file, QByteArray(printer.CStr()));
    }

private:
    QString m_file;
    tinyxml2::XMLDocument m_document;
    bool m_loaded = false;
};

void setTitle(tinyxml2::XMLDocument& document, tinyxml2::XMLElement* bookmark, const QString& name)
{
    tinyxml2::XMLElement* title = bookmark->FirstChildElement("title");
    if (title == nullptr)
        title = bookmark->InsertNewChildElement("title");
    title->DeleteChildren();
    title->InsertEndChild(document.NewText(name.toUtf8().constData()));
}

void addKde(const QString& file, const QString& name, const QUrl& target, const QString& icon)
{
    KdePlaces places(file);
    if (!places.loaded())
        return;
    const std::vector<tinyxml2::XMLElement*> existing = places.named(name);
    tinyxml2::XMLElement* bookmark = nullptr;
    if (existing.empty()) {
        bookmark = places.root()->InsertNewChildElement("bookmark");
        setTitle(places.document(), bookmark, name);
        tinyxml2::XMLElement* metadata =
            bookmark->InsertNewChildElement("info")->InsertNewChildElement("metadata");
        metadata->SetAttribute("owner", "http://freedesktop.org");
        metadata->InsertNewChildElement("bookmark:icon")->SetAttribute("name", icon.toUtf8().constData());
    } else {
        bookmark = existing.front();
    }
    bookmark->SetAttribute("href", target.toString(QUrl::FullyEncoded).toUtf8().constData());
    places.save();
}

} // namespace

PlaceBookmarks::PlaceBookmarks()
    : PlaceBookmarks(
          QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
              QStringLiteral("/gtk-3.0/bookmarks"),
          QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
              QStringLiteral("/user-places.xbel"))
{
}

PlaceBookmarks::PlaceBookmarks(QString gtkFile, QString kdeFile)
    : m_gtkFile(std::move(gtkFile)), m_kdeFile(std::move(kdeFile))
{
}

bool PlaceBookmarks::add(const QString& name, const QUrl& target, const QString& icon)
{
    const QString label = oneLine(name);
    QList<GtkPlace> places = readGtk(m_gtkFile);
    const QString uri = target.toString(QUrl::FullyEncoded);
    bool found = false;
    for (GtkPlace& place : places) {
        if (place.label == label) {
            place.uri = uri;
            found = true;
        }
    }
    if (!found)
        places.push_back({uri, label});
    addKde(m_kdeFile, label, target, icon);
    return writeGtk(m_gtkFile, places);
}

bool PlaceBookmarks::rename(const QString& oldName, const QString& newName)
{
    const QString oldLabel = oneLine(oldName);
    const QString newLabel = oneLine(newName);
    KdePlaces kde(m_kdeFile);
    if (kde.loaded()) {
        const std::vector<tinyxml2::XMLElement*> named = kde.named(oldLabel);
        for (tinyxml2::XMLElement* bookmark : named)
            setTitle(kde.document(), bookmark, newLabel);
        if (!named.empty())
            kde.save();
    }
    QList<GtkPlace> places = readGtk(m_gtkFile);
    bool found = false;
    for (GtkPlace& place : places) {
        if (place.label == oldLabel) {
            place.label = newLabel;
            found = true;
        }
    }
    return found && writeGtk(m_gtkFile, places);
}

bool PlaceBookmarks::remove(const QString& name)
{
    const QString label = oneLine(name);
    KdePlaces kde(m_kdeFile);
    if (kde.loaded()) {
        const std::vector<tinyxml2::XMLElement*> named = kde.named(label);
        for (tinyxml2::XMLElement* bookmark : named)
            kde.root()->DeleteChild(bookmark);
        if (!named.empty())
            kde.save();
    }
    QList<GtkPlace> places = readGtk(m_gtkFile);
    const qsizetype removed =
        places.removeIf([&](const GtkPlace& place) { return place.label == label; });
    return removed > 0 && writeGtk(m_gtkFile, places);
}

QUrl PlaceBookmarks::target(const QString& name) const
{
    const QString label = oneLine(name);
    for (const GtkPlace& place : readGtk(m_gtkFile)) {
        if (place.label == label)
            return QUrl(place.uri);
    }
    return QUrl();
}

} // namespace platform
