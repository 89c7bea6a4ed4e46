// SPDX-License-Identifier: GPL-2.0-or-later
#include "cli/paramassignments.h"

#include "cli/clisession.h"
#include "plugins/parameditor.h"
#include "plugins/paramrules.h"

QString ParamAssignments::Accepted(const GVParamInfo& param)
{
    switch (param.type) {
    case PT_NUMBER:
    case PT_SLIDER:
        return QStringLiteral("a whole number from %1 to %2")
            .arg(paramrules::bound(param, PVK_MINIMUM, 0))
            .arg(paramrules::bound(param, PVK_MAXIMUM, 0));
    case PT_NUMBER_HIDDEN:
        return QStringLiteral("a whole number");
    case PT_TEXT:
    case PT_TEXT_REQUIRED:
        return QStringLiteral("a text that is not empty");
    case PT_TEXT_HIDDEN:
        return QStringLiteral("a text");
    case PT_CHOICE:
        return QStringLiteral("one of: ") + CParamEditor::Options(param).join(QStringLiteral(", "));
    case PT_FILE:
    case PT_FILE_2:
        return QStringLiteral("the path of an existing file");
    case PT_FOLDER:
        return QStringLiteral("the path of an existing folder");
    case PT_COLOR:
        return QStringLiteral("a colour as #rrggbb, or its number");
    case PT_FONT:
        return QStringLiteral("a font as \"Family, 12pt, bold, italic, #rrggbb\" (family first, "
                              "the rest optional)");
    default:
        return QStringLiteral("nothing: it holds no value");
    }
}

bool ParamAssignments::Apply(CParamEditor& editor, const QStringList& assignments,
                             QStringList* changed)
{
    for (const QString& assignment : assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (equals <= 0) {
            cliFail(QStringLiteral("\"%1\" is no assignment: write NAME=VALUE").arg(assignment));
            return false;
        }
        const QString name = assignment.left(equals);
        const QString value = assignment.mid(equals + 1);
        const CParamEditor::Result result = editor.Assign(name, value);
        const GVParamInfo* param = editor.Find(name);
        switch (result) {
        case CParamEditor::Result::Stored:
            if (changed != nullptr &&
                !changed->contains(QString::fromUtf8(param->name.c_str()), Qt::CaseInsensitive))
                *changed << QString::fromUtf8(param->name.c_str());
            break;
        case CParamEditor::Result::Unchanged:
            break;
        case CParamEditor::Result::UnknownName:
            cliFail(QStringLiteral("the theme has no parameter \"%1\" (gallivex-cli themes lists "
                                   "the parameters of every theme)")
                        .arg(name));
            return false;
        case CParamEditor::Result::Invalid:
        case CParamEditor::Result::NoValue:
            cliFail(CParamEditor::InvalidValueMessage(*param) +
                    QStringLiteral(": \"%1\"; %2 expects %3").arg(value, name, Accepted(*param)));
            return false;
        }
    }
    return true;
}
