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
};

// The text of id, or an empty text for an unknown id.
QString loadString(int id);
