// SPDX-License-Identifier: GPL-2.0-or-later
// Settings: the program's per-user and machine-wide settings, by section and value name.
//
// Each program of the company keeps its own store ("Gallivex", "Lumivex", "HTML", ...) under
// the company "Vellora"; the user scope holds what the program reads and writes, the machine
// scope what an installer left for first runs. A value of the wrong type reads as the
// default, as a missing one does.
#pragma once

#include <QString>
#include <QStringList>

class Settings {
public:
    enum class Scope { User, Machine };
    static constexpr const char* Company = "Vellora";

    explicit Settings(QString application = QStringLiteral("Gallivex"),
                      Scope scope = Scope::User);

    int getInt(const QString& section, const QString& name, int defaultValue) const;
    QString getString(const QString& section, const QString& name,
                      const QString& defaultValue = QString()) const;
    void writeInt(const QString& section, const QString& name, int value);
    void writeString(const QString& section, const QString& name, const QString& value);
    bool contains(const QString& section, const QString& name) const;
    // Forgets a value; a missing one is left as it is.
    void remove(const QString& section, const QString& name);
    bool sectionExists(const QString& section) const;
    // True when this program's store exists in this scope.
    bool exists() const;
    QString application() const { return m_application; }

    // True when any store of the company exists in the scope.
    static bool companyExists(Scope scope);
    // The programs that have a store in the scope.
    static QStringList applications(Scope scope);
    // Copies every section and value of one program's store; a missing source copies nothing.
    static void copyTree(const QString& application, Scope from, Scope to);
    // Copies the stores of every program of the company.
    static void copyCompany(Scope from, Scope to);

    // Puts both scopes below folder (tests, portable installs); the real locations otherwise.
    static void setRoot(const QString& folder);

private:
    static QString storeFolder(Scope scope);

    QString m_application;
    Scope m_scope;
};
