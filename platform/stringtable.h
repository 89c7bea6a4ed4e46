// The program's texts by number: every message, caption and setting name that the program
// shows or stores is kept here once and fetched with loadString(id).
#pragma once

#include <QString>

// Ids of the texts used in code.
enum StringId : int {
    IDS_APP_TITLE = 102,        // "Vellora Gallivex"
    IDS_REGISTRY_KEY = 116,     // "Vellora"
    IDS_PROFILE_NAME = 117,     // "Gallivex"
    IDS_OPEN_FAILED = 118,
    IDS_INIT_FAILED = 119,
    IDS_LOAD_IMAGE_FAILED = 190,
    IDS_JPEG_QUALITY_VALUE = 32805,     // setting name "JPEGQuality"
    IDS_INTERPOLATION_VALUE = 32808,    // setting name "InterpolationMode"
    IDS_SETUP_START_FAILED = 40001,     // the theme installer could not be started
    IDS_EMPTY_ALBUM_NAME = 1117,        // the album-name dialog refuses an empty name
    IDS_GENERATING_ALBUM = 40101,       // the progress window's default title
    IDS_PROGRESS_STARTING = 40102,      // the progress window's first status text
    IDS_CANCEL = 40103,                 // "Cancel" on buttons without a skin picture
    IDS_OK = 40104,                     // "OK" on buttons without a skin picture
    IDS_ALBUM_NAME_TITLE = 40105,       // the album-name dialog's title
    IDS_ALBUM_NAME_LABEL = 40106,       // the caption of its name field
    IDS_PROJECT_FILTER = 184,           // the file filter of album projects
    IDS_SELECT_PHOTOS_FOLDER = 32824,   // the folder chooser's prompt for photos
    IDS_SAVING = 40201,                 // the progress window's title while saving
    IDS_IMAGE_NOT_ACCESSIBLE = 40202,   // a photo of an album being opened is missing
    IDS_PLUGIN_NOT_INSTALLED = 40203,   // an album names a plug-in that is not installed
    IDS_TEMPLATE_NOT_INSTALLED = 40204, // an album names a template that is not installed
    IDS_CHOOSE_PROJECT_FILE = 40205,    // no project file name could be made for a save
    IDS_SAVE_ALBUM_TITLE = 40206,       // the save dialog's title
};

// The text of id, or an empty text for an unknown id.
QString loadString(int id);
