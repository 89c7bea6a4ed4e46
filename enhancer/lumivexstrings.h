// SPDX-License-Identifier: GPL-2.0-or-later
// The photo editor's texts by number. The editor numbers its texts apart from the album
// builder (the same numbers mean other texts there), so it keeps a table of its own.
#pragma once

#include <QString>

enum LumivexStringId : int {
    IDS_LX_LINK_UNABLE = 124, // a hyperlink target could not be opened
    IDS_LX_BRIGHTNESS = 125,  // the colour dialog's slider labels
    IDS_LX_CONTRAST = 126,
    IDS_LX_GAMMA = 127,
    IDS_LX_DOC_TEMPLATE = 128,    // the document template's fields, newline-separated
    IDS_LX_UNDO_AUTO_LEVEL = 130, // the auto-level button, one channel or all
    IDS_LX_AUTO_LEVEL = 132,
    IDS_LX_UNDO_AUTO_LEVELS = 134,
    IDS_LX_AUTO_LEVELS = 135,
    IDS_LX_WRITE_ERROR = 138,      // saving failed
    IDS_LX_QUINDLE_PAGE = 140,     // the print program's page
    IDS_LX_SAVE_CHANGES = 142,     // asked before a modified image is left
    IDS_LX_READ_ONLY_TARGET = 144, // the save target is read-only
    IDS_LX_CANNOT_WRITE = 146,     // its read-only permission could not be cleared
    IDS_LX_UNDO_MENU = 149,        // the Undo menu item while undo is available
    IDS_LX_REDO_MENU = 152,        // and while redo is
    IDS_LX_NEED_EXTENSION = 155,   // Save As was given a name without an extension
    IDS_LX_BUSY = 157,             // an edit is still running
    IDS_LX_CROPPING = 160,         // the crop tool is still on
    IDS_LX_SCALE_STATUS = 163,     // status bar panes
    IDS_LX_IMAGE_OF = 165,
    IDS_LX_EMPTY_SELECTION = 174, // the crop rectangle misses the image
    IDS_LX_UNDO_TIP = 176,        // the toolbar's Undo button
    IDS_LX_REDO_TIP = 179,
    IDS_LX_SCALE_WIDEST = 182, // the zoom label's widest text
    IDS_LX_SCALE_LABEL = 185,
    IDS_LX_BRUSH_SIZE = 187, // the red-eye dialog
    IDS_LX_KEEP_ASPECT = 188,
    IDS_LX_ADJUST_EYE_COLOUR = 189,
    IDS_LX_BRUSH_SHARPNESS = 190,
    IDS_LX_WRONG_INITIAL_SIZE = 191, // the resize dialog
    IDS_LX_PERCENT_OF = 192,
    IDS_LX_PIXELS_OF = 193,
    IDS_LX_IMAGE_TOO_LARGE = 194,
    IDS_LX_SIZE_UNDEFINED = 195,
    IDS_LX_AMOUNT = 196, // the sharpen dialog
    IDS_LX_PERCENTS = 197,
    IDS_LX_PIXELS = 198,
    IDS_LX_NOTE_TITLE = 40101, // the note recommending the print program
    IDS_LX_NOTE_RECOMMEND = 40102,
    IDS_LX_NOTE_TO_USE = 40103,
    IDS_LX_NOTE_LINK = 40104,
    IDS_LX_NOTE_DONT_SHOW = 40105,
    IDS_LX_PRINT_PROGRAM_FAILED = 40106,
    IDS_LX_ABOUT_VERSION = 40001,   // the about box
    IDS_LX_OPEN_FAILED = 40002,     // an image could not be opened: path, reason
    IDS_LX_TOO_MANY_PIXELS = 40003, // reasons a file does not open
    IDS_LX_NOT_AN_IMAGE = 40004,
    IDS_LX_EMPTY_FILE = 40005,
    IDS_LX_NOT_DECODED = 40006,
    IDS_LX_NO_SUCH_FILE = 40007,
    IDS_LX_LIST_UNREADABLE = 40008, // troubles with the list of photos to open
    IDS_LX_LIST_EMPTY = 40009,
    IDS_LX_LIST_LONG_LINE = 40010,
    IDS_LX_LIST_NOT_UTF8 = 40011,
    IDS_LX_LIST_NOT_DELETED = 40012,
    IDS_LX_OPEN_TITLE = 40013, // the file dialogs' titles
    IDS_LX_SAVE_AS_TITLE = 40014,
    IDS_LX_NO_ENCODER = 40015, // reasons a save fails, for the log
    IDS_LX_ENCODER_FAILED = 40016,
    IDS_LX_SIDE_FILE_FAILED = 40017,
    IDS_LX_KEEPS_ORIGINAL = 40018,     // Save on a photo of a type the editor does not write
    IDS_LX_KEEP_ORIGINAL_NAME = 40019, // Save As was given that photo's own name
    IDS_LX_ENHANCE_COLOURS = 32771,    // command hints: status prompt, newline, tooltip
    IDS_LX_ZOOM_IN = 32774,
    IDS_LX_ROTATE = 32776,
    IDS_LX_ROTATE_CW = 32777,
    IDS_LX_ROTATE_CCW = 32779,
    IDS_LX_ZOOM_ONE = 32780,
    IDS_LX_CUSTOM_ROTATE = 32782,
    IDS_LX_RESIZE = 32785,
    IDS_LX_SHARPEN = 32786,
    IDS_LX_CROP = 32787,
    IDS_LX_ZOOM_FIT = 32788,
    IDS_LX_RED_EYES = 32789,
    IDS_LX_FILM_PROPORTIONS = 32791,
    IDS_LX_PHOTO_PROPORTIONS = 32793,
    IDS_LX_PREVIOUS_IMAGE = 32802,
    IDS_LX_NEXT_IMAGE = 32803,
    IDS_LX_ABOUT_TITLE = 40200, // the main frame: the about box and help
    IDS_LX_MAKER_HOME = 40201,
    IDS_LX_MAKER_LINK = 40202,
    IDS_LX_HELP_MISSING = 40203,
    IDS_LX_OPEN_FILTER = 57380, // the open and save dialogs' filters
    IDS_LX_SAVE_FILTER = 57381,
};

// The text of id, or an empty text for an unknown id.
QString loadLumivexString(int id);
