// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/settings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {

QSettings::Scope toQt(Settings::Scope scope)
{
    return scope == Settings::Scope::User ? QSettings::UserScope : QSettings::SystemScope;
}

// One store without fallbacks: a user value never silently comes from the machine scope or
// from the company-wide file.
struct Store {
    Store(const QString& application, Settings::Scope scope)
        : qs(QSettings::NativeFormat, toQt(scope), Settings::Company, application)
    {
        qs.setFallbacksEnabled(false);
    }
    QSettings qs;
};

QString key(const QString& section, const QString& name) { return section + QLatin1Char('/') + name; }

} // namespace

Settings::Settings(QString application, Scope scope)
    : m_application(std::move(application)), m_scope(scope)
{
}

int Settings::getInt(const QString& section, const QString& name, int defaultValue) const
{
    Store store(m_application, m_scope);
    const QVariant value = store.qs.value(key(section, name));
    if (!value.isValid())
        return defaultValue;
    bool ok = false;
    const int number = value.toString().trimmed().toInt(&ok);
    return ok ? number : defaultValue;
}

QString Settings::getString(const QString& section, const QString& name,
                            const QString& defaultValue) const
{
    Store store(m_application, m_scope);
    const QVariant value = store.qs.value(key(section, name));
    // A list (a value holding commas in the file) is not a string setting.
    if (!value.isValid() || value.typeId() == QMetaType::QStringList)
        return defaultValue;
    return value.toString();
}

void Settings::writeInt(const QString& section, const QString& name, int value)
{
    Store store(m_application, m_scope);
    store.qs.setValue(key(section, name), value);
}

void Settings::writeString(const QString& section, const QString& name, const QString& value)
{
    Store store(m_application, m_scope);
    store.qs.setValue(key(section, name), value);
}

bool Settings::contains(const QString& section, const QString& name) const
{
    Store store(m_application, m_scope);
    return store.qs.contains(key(section, name));
}

void Settings::remove(const QString& section, const QString& name)
{
    Store store(m_application, m_scope);
    store.qs.remove(key(section, name));
}

bool Settings::sectionExists(const QString& section) const
{
    Store store(m_application, m_scope);
    return store.qs.childGroups().contains(section);
}

bool Settings::exists() const
{
    Store store(m_application, m_scope);
    return QFileInfo::exists(store.qs.fileName());
}

QString Settings::storeFolder(Scope scope)
{
    Store probe(QStringLiteral("probe"), scope);
    return QFileInfo(probe.qs.fileName()).absolutePath();
}

bool Settings::companyExists(Scope scope)
{
    return QFileInfo(storeFolder(scope)).isDir();
}

QStringList Settings::applications(Scope scope)
{
    const QDir folder(storeFolder(scope));
    QStringList names;
    for (const QFileInfo& file : folder.entryInfoList({QStringLiteral("*.conf")}, QDir::Files,
                                                      QDir::Name))
        names << file.completeBaseName();
    return names;
}

void Settings::copyTree(const QString& application, Scope from, Scope to)
{
    Store source(application, from);
    if (!QFileInfo::exists(source.qs.fileName()))
        return;
    Store target(application, to);
    for (const QString& name : source.qs.allKeys())
        target.qs.setValue(name, source.qs.value(name));
    target.qs.sync();
}

void Settings::copyCompany(Scope from, Scope to)
{
    for (const QString& application : applications(from))
        copyTree(application, from, to);
}

void Settings::setRoot(const QString& folder)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder + "/user");
    QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, folder + "/machine");
}
