// SPDX-License-Identifier: GPL-2.0-or-later
// CParamEditor: checks and stores template parameter values the way the album properties page
// does when the user goes forward: the test each field's text must pass, how the text becomes
// the parameter's value entry, colours and fonts stored by their buttons, and the two host
// settings written afterwards. The command-line tool sets values through it from text.
#pragma once

#include <cstdint>

#include <QString>

#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"

class Settings;

class CParamEditor
{
public:
    enum class Result {
        Stored,      // the value changed
        Unchanged,   // the value was already that
        UnknownName, // no parameter has that internal name
        Invalid,     // the text is no valid value of the parameter
        NoValue,     // the parameter holds no value that could be set (separators, ...)
    };

    explicit CParamEditor(gv_vector<GVParamInfo>& params) : m_params(params) {}

    // The parameter with that internal name (without regard to case), or null.
    GVParamInfo* Find(const QString& name);
    // Sets a value given as text: numbers, texts and choices as the page's fields take them
    // (a choice must name one of its options), colours and fonts in the forms of paramtext,
    // files and folders as paths of existing ones (stored absolute; a file keeps the
    // extension rule). Nothing changes unless the result is Stored or Unchanged.
    Result Assign(const QString& name, const QString& text);

    // The page's test of a field's text before it is left forward.
    static bool PageCheck(const GVParamInfo& param, const QString& fieldText);
    // The page's storing of a field's text into the value entry; true when the page would
    // mark the album modified (texts compare without regard to case).
    static bool StoreFieldText(GVParamInfo& param, const QString& fieldText);
    // A colour chosen with the colour button; true when it changed.
    static bool StoreColour(GVParamInfo& param, uint32_t colorref);
    // A font chosen with the font button; false when entry 0 has no font block to take it.
    static bool StoreFont(GVParamInfo& param, const GVFontBlock& block);
    // "JPEGQuality" and "InterpolationMode" of section "Settings" from the host parameters.
    static void WriteHostSettings(const gv_vector<GVParamInfo>& params, Settings& settings);
    // The page's message for a value that fails its check.
    static QString InvalidValueMessage(const GVParamInfo& param);
    // The value in the text form Assign takes; "" for parameters without a value.
    static QString ValueText(const GVParamInfo& param);
    // The options of a choice parameter, in entry order.
    static QStringList Options(const GVParamInfo& param);

private:
    static bool fillEntry(GVParamInfo& param, int32_t index, const QString& text);
    static Result assignText(GVParamInfo& param, const QString& text);

    gv_vector<GVParamInfo>& m_params;
};
