// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/commandtable.h"

#include <map>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/lumivexcommands.h"
#include "platform/prompter.h"

namespace
{

const std::map<int, QString>& menuTexts()
{
    static const std::map<int, QString> texts = {
        {ID_FILE_OPEN, QStringLiteral("&Open...\tCtrl+O")},
        {ID_FILE_SAVE, QStringLiteral("&Save\tCtrl+S")},
        {ID_FILE_SAVE_AS, QStringLiteral("Save &As...")},
        {ID_FILE_PRINT, QStringLiteral("&Print...\tCtrl+P")},
        {ID_FILE_PRINT_PREVIEW, QStringLiteral("Print Pre&view")},
        {ID_FILE_PRINT_SETUP, QStringLiteral("P&rint Setup...")},
        {ID_FILE_MRU_FILE1, QStringLiteral("Recent File")},
        {ID_APP_EXIT, QStringLiteral("E&xit")},
        {ID_EDIT_UNDO, QStringLiteral("&Undo\tCtrl+Z")},
        {ID_ENHANCE_COLORS, QStringLiteral("&Enhance colors\tCtrl+E")},
        {ID_RESIZE, QStringLiteral("Re&size\tCtrl+I")},
        {ID_CROP_FREE, QStringLiteral("Free C&rop\tCtrl+R")},
        {ID_CROP_KEEP_PROPORTIONS, QStringLiteral("Keep &Proportions")},
        {ID_CROP_3_2, QStringLiteral("Proportional &3:2 ")},
        {ID_CROP_4_3, QStringLiteral("Proportional &4:3 ")},
        {ID_SHARPEN, QStringLiteral("S&harpen\tCtrl+H")},
        {ID_RED_EYES, QStringLiteral("Edit red e&yes\tCtrl+Y")},
        {ID_ROTATE_90CW, QStringLiteral("Rotate 90&CW")},
        {ID_ROTATE_90CCW, QStringLiteral("Rotate 90CC&W")},
        {ID_ROTATE_180, QStringLiteral("R&otate 180")},
        {ID_ROTATE_CUSTOM, QStringLiteral("Custom &angle")},
        {ID_FLIP_HORIZONTAL, QStringLiteral("Flip &horizontal")},
        {ID_FLIP_VERTICAL, QStringLiteral("Flip &vertical")},
        {ID_ZOOM_ACTUAL, QStringLiteral("Actual pixels\t'/'")},
        {ID_ZOOM_IN, QStringLiteral("Zoom in\t'+'")},
        {ID_ZOOM_OUT, QStringLiteral("Zoom out\t'-'")},
        {ID_ZOOM_FIT, QStringLiteral("Zoom best fit\t'*'")},
        {ID_VIEW_TOOLBAR, QStringLiteral("&Toolbar")},
        {ID_VIEW_STATUS_BAR, QStringLiteral("&Status Bar")},
        {ID_HELP_FINDER, QStringLiteral("&Contents")},
        {ID_APP_ABOUT, QStringLiteral("&About Lumivex...")},
        {ID_FILE_NEW, QStringLiteral("&New\tCtrl+N")},
        {ID_PREVIOUS_IMAGE, QString()},
        {ID_NEXT_IMAGE, QString()},
        {ID_ROTATE, QStringLiteral("Rotate")},
    };
    return texts;
}

QString hintOf(int id)
{
    if (id == ID_EDIT_UNDO)
        return loadLumivexString(IDS_LX_UNDO_TIP);
    return loadLumivexString(id);
}

} // namespace

QList<QKeySequence> CommandTable::Keys(int id)
{
    using K = QKeySequence;
    switch (id) {
    case ID_ENHANCE_COLORS: return {K(Qt::CTRL | Qt::Key_E)};
    case ID_SHARPEN: return {K(Qt::CTRL | Qt::Key_H)};
    case ID_RESIZE: return {K(Qt::CTRL | Qt::Key_I)};
    case ID_FILE_NEW: return {K(Qt::CTRL | Qt::Key_N)};
    case ID_FILE_OPEN: return {K(Qt::CTRL | Qt::Key_O)};
    case ID_FILE_PRINT: return {K(Qt::CTRL | Qt::Key_P)};
    case ID_CROP_FREE: return {K(Qt::CTRL | Qt::Key_R)};
    case ID_FILE_SAVE: return {K(Qt::CTRL | Qt::Key_S)};
    case ID_RED_EYES: return {K(Qt::CTRL | Qt::Key_Y)};
    case ID_EDIT_UNDO: return {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)};
    // The menu shows the plain characters; the keypad's keys and the main keyboard's both work.
    case ID_ZOOM_IN: return {K(Qt::KeypadModifier | Qt::Key_Plus), K(Qt::Key_Plus)};
    case ID_ZOOM_OUT: return {K(Qt::KeypadModifier | Qt::Key_Minus), K(Qt::Key_Minus)};
    case ID_ZOOM_ACTUAL: return {K(Qt::KeypadModifier | Qt::Key_Slash), K(Qt::Key_Slash)};
    case ID_ZOOM_FIT: return {K(Qt::KeypadModifier | Qt::Key_Asterisk), K(Qt::Key_Asterisk)};
    default: return {};
    }
}

std::optional<CommandInfo> CommandTable::Find(int id)
{
    const auto text = menuTexts().find(id);
    if (text == menuTexts().end())
        return std::nullopt;
    CommandInfo info;
    info.id = id;
    info.menuText = text->second;
    info.keys = Keys(id);
    const QString hint = hintOf(id);
    const qsizetype newline = hint.indexOf(u'\n');
    info.statusPrompt = newline < 0 ? hint : hint.left(newline);
    info.tooltip = newline < 0 ? QString() : hint.mid(newline + 1);
    return info;
}

const std::vector<int>& CommandTable::Ids()
{
    static const std::vector<int> ids = {
        ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_PRINT,
        ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, ID_FILE_MRU_FILE1, ID_APP_EXIT,
        ID_EDIT_UNDO, ID_ENHANCE_COLORS, ID_RESIZE, ID_CROP_FREE, ID_CROP_KEEP_PROPORTIONS,
        ID_CROP_3_2, ID_CROP_4_3, ID_SHARPEN, ID_RED_EYES, ID_ROTATE_90CW, ID_ROTATE_90CCW,
        ID_ROTATE_180, ID_ROTATE_CUSTOM, ID_FLIP_HORIZONTAL, ID_FLIP_VERTICAL, ID_ZOOM_ACTUAL,
        ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR,
        ID_HELP_FINDER, ID_APP_ABOUT, ID_PREVIOUS_IMAGE, ID_NEXT_IMAGE, ID_ROTATE,
    };
    return ids;
}

bool CommandTable::IsEnabled(int id, const CommandState& state)
{
    switch (id) {
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_PRINT_SETUP:
    case ID_FILE_MRU_FILE1:
    case ID_APP_EXIT:
    case ID_VIEW_TOOLBAR:
    case ID_VIEW_STATUS_BAR:
    case ID_HELP_FINDER:
    case ID_APP_ABOUT:
        return true;
    case ID_EDIT_UNDO: return state.undoOrRedo && state.image;
    case ID_ZOOM_IN: return state.image && state.zoom < MaximumZoom;
    case ID_ZOOM_OUT: return state.image && state.zoom / 2 > state.minimumZoom;
    case ID_PREVIOUS_IMAGE: return state.canGoPrevious;
    case ID_NEXT_IMAGE: return state.canGoNext;
    default:
        // Save As and Print Preview of an empty document would write or show nothing.
        return state.image;
    }
}

bool CommandTable::NeedsBusyCheck(int id)
{
    switch (id) {
    // These replace or swap the image an edit may still be reading.
    case ID_FILE_NEW:
    case ID_FILE_OPEN:
    case ID_FILE_MRU_FILE1:
    case ID_EDIT_UNDO:
    case ID_PREVIOUS_IMAGE:
    case ID_NEXT_IMAGE:
    case ID_ENHANCE_COLORS:
    case ID_RESIZE:
    case ID_CROP_FREE:
    case ID_CROP_KEEP_PROPORTIONS:
    case ID_CROP_3_2:
    case ID_SHARPEN:
    case ID_RED_EYES:
    case ID_ROTATE_90CW:
    case ID_ROTATE_90CCW:
    case ID_ROTATE_180:
    case ID_ROTATE_CUSTOM:
    case ID_FLIP_HORIZONTAL:
    case ID_FLIP_VERTICAL:
    case ID_ZOOM_IN:
    case ID_ZOOM_OUT:
        return true;
    default: return false;
    }
}

bool CommandTable::PassBusyCheck(const BusyState& state, Prompter& prompter)
{
    if (state.operationRunning) {
        prompter.message(loadLumivexString(IDS_LX_BUSY), Prompter::Icon::Information);
        return false;
    }
    if (state.cropping) {
        prompter.message(loadLumivexString(IDS_LX_CROPPING), Prompter::Icon::Information);
        return false;
    }
    return true;
}

QString CommandTable::UndoTooltip(bool undoAvailable)
{
    const QString hint = loadLumivexString(undoAvailable ? IDS_LX_UNDO_TIP : IDS_LX_REDO_TIP);
    return hint.mid(hint.indexOf(u'\n') + 1);
}
