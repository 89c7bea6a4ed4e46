// SPDX-License-Identifier: GPL-2.0-or-later
// CommandTable: every command of the photo editor with its menu text, keys, status prompt
// and tooltip, and the rule that says when it is enabled. Plain data and decisions: the main
// frame builds its menu, toolbar and keys from it, and tests read it without a window.
#pragma once

#include <optional>
#include <vector>

#include <QKeySequence>
#include <QList>
#include <QString>

class Prompter;

// What the enabling rules look at, gathered from the document and the view.
struct CommandState {
    bool image = false;        // the current image has pixels
    bool undoOrRedo = false;   // undo or redo is available
    double zoom = 1.0;
    double minimumZoom = 0.0;
    bool canGoPrevious = false;
    bool canGoNext = false;
};

// What the busy check looks at: an edit still running, the crop tool still on.
struct BusyState {
    bool operationRunning = false;
    bool cropping = false;
};

struct CommandInfo {
    int id = 0;
    QString menuText;            // with "\t" and the key the menu shows, when there is one
    QList<QKeySequence> keys;    // the keys that run it, first one shown
    QString statusPrompt;        // the status bar's hint
    QString tooltip;
};

class CommandTable
{
public:
    static constexpr double MaximumZoom = 10.0;

    // The command's texts and keys; nullopt for a number that is not a command.
    static std::optional<CommandInfo> Find(int id);
    // Every command, in menu order.
    static const std::vector<int>& Ids();
    static bool IsEnabled(int id, const CommandState& state);
    // True for the commands that start with the busy check: the edits, and the commands that
    // replace or swap the image while an edit could still be working on it.
    static bool NeedsBusyCheck(int id);
    // The busy check every edit runs first: tells the user why not and gives false while an
    // edit runs or the crop tool is on.
    static bool PassBusyCheck(const BusyState& state, Prompter& prompter);
    // The Undo button's tooltip: while undo is available, its own text; else Redo's.
    static QString UndoTooltip(bool undoAvailable);

private:
    static QList<QKeySequence> Keys(int id);
};
