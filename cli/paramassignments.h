// SPDX-License-Identifier: GPL-2.0-or-later
// ParamAssignments: "NAME=VALUE" texts from the command line applied to the album's template
// parameters, each checked as the properties page checks it; every refusal is explained with
// what the parameter accepts.
#pragma once

#include <QString>
#include <QStringList>

#include "sdk/gvparaminfo.h"

class CParamEditor;

class ParamAssignments
{
public:
    // Applies every assignment in order; false after the first one that is refused (those
    // before it stay applied: callers save nothing then). changed receives the names of the
    // parameters whose values changed.
    static bool Apply(CParamEditor& editor, const QStringList& assignments, QStringList* changed);
    // What a parameter accepts, for the messages: "a whole number from 1 to 10", ...
    static QString Accepted(const GVParamInfo& param);
};
