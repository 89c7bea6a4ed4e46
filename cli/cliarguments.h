// SPDX-License-Identifier: GPL-2.0-or-later
// CliArguments: the options and operands of one gallivex-cli command. Options are long
// ("--dest FOLDER" or "--dest=FOLDER"); "--" ends them; everything else is an operand.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class CliArguments
{
public:
    // flags: options without a value; options: options that take one (may repeat).
    CliArguments(QStringList flags, QStringList options);

    // False, with error(), for an unknown option or an option without its value.
    bool parse(const QStringList& arguments);

    bool has(const QString& flag) const { return m_flags.contains(flag); }
    bool hasValue(const QString& option) const { return m_values.contains(option); }
    // The last value given for option, or "".
    QString value(const QString& option) const;
    // Every value given for option, in order.
    QStringList values(const QString& option) const { return m_values.value(option); }
    const QStringList& operands() const { return m_operands; }
    const QString& error() const { return m_error; }

private:
    QStringList m_knownFlags;
    QStringList m_knownOptions;
    QStringList m_flags;
    QMap<QString, QStringList> m_values;
    QStringList m_operands;
    QString m_error;
};
