// SPDX-License-Identifier: GPL-2.0-or-later
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
    // Adding photos to the image list.
    IDS_ADD_IMAGES_FIRST = 109,             // the image list is left with no photo in it
    IDS_IMAGE_FILE_FILTER = 40501,          // the photo file types the Add commands take
    IDS_NAMES_NOT_UTF8 = 40502,             // a folder scan met names it cannot read
    // The image list page (its buttons' tooltips are the texts of their control ids).
    IDS_IMAGE_STATUS = 174,                 // "%i  images in the album / %i selected"
    IDS_REMOVE_IMAGES = 1113,               // asks before photos leave the album
    IDS_ADD_FROM_SUBFOLDERS = 32825,        // the folder chooser's two check boxes
    IDS_PARSE_SUBFOLDERS = 32826,
    IDS_MENU_ROTATE_90 = 32784,             // the lists' context menu
    IDS_MENU_ROTATE_180 = 32785,
    IDS_MENU_ROTATE_270 = 32786,
    IDS_MENU_AUTO_LEVELS = 32787,
    IDS_MENU_PRINT_IMAGES = 32798,
    IDS_MENU_ENHANCE = 32799,
    IDS_MENU_UNDO = 32800,
    IDS_IMAGE_LIST_CAPTIONS = 40901,        // 40901-40915: the page's button captions
    IDS_EDITOR_NOT_INSTALLED = 40916,       // why the editor's button is disabled
    IDS_PRINT_NOT_INSTALLED = 40917,        // why the print button is disabled
    // The generation page: the destination folder and its emptying.
    IDS_PATH_DOES_NOT_EXIST = 40511,        // the destination folder cannot be made
    IDS_INSTALLATION_FOLDER = 40512,        // the destination lies in the program's folder
    IDS_FOLDER_NOT_EMPTY = 40513,           // asks before a non-empty destination is emptied
    IDS_DELETION_WARNING_TITLE = 40514,     // the deletion warning dialog's title
    IDS_DELETION_WARNING_TEXT = 40515,      // its text
    IDS_REMOVE_IMMEDIATELY = 40516,         // its check box for deleting instead of recycling
    IDS_DO_NOT_WARN_AGAIN = 40517,          // its check box for not showing it again
    IDS_MOVING_TO_RECYCLE_BIN = 40518,      // progress title while the folder is emptied
    IDS_SELECT_ALBUM_LOCATION = 40519,      // the destination folder chooser's title
    IDS_GENERATE_NOW = 40520,               // Next on an album that was not generated
    IDS_SAVE_CHANGES = 40521,               // save after generation without the save box
    IDS_DESTINATION_HOLDS_PHOTOS = 40522,   // emptying the destination would delete photos
    IDS_DESTINATION_IS_HOME = 40523,        // the destination is the home folder or above it
    IDS_DESTINATION_IS_ROOT = 40524,        // the destination is the top of a disk
    IDS_DESTINATION_HOLDS_PROGRAM = 40525,  // emptying the destination would delete the program
    IDS_DESTINATION_NOT_FOLDER = 40526,     // the destination names a file
    IDS_TRASH_FAILED = 40527,               // the destination could not be moved to the Trash
    IDS_DELETE_FAILED = 40528,              // the destination could not be emptied
    IDS_PUBLISH_EXTRAS = 40538,             // names the chosen files published with the album
    IDS_PUBLISH_FOLDER = 40539,             // one folder of that list
    IDS_CHANGE_DESTINATION = 40541,         // the generation page's controls
    IDS_GENERATE = 40542,
    IDS_SAVE_SETTINGS = 40543,
    IDS_SAVE_SETTINGS_TIP = 40544,
    IDS_ADD_FAVORITES = 40545,
    IDS_ADD_FAVORITES_TIP = 40546,
    IDS_DESTINATION_LABEL = 40547,
    IDS_FAVORITES_COMMENT = 40548,          // the comment of an album's Favorites shortcut
    IDS_ALBUM_GENERATED = 40549,            // the generation page's word on its last Generate
    IDS_GENERATION_CANCELLED = 40550,
    IDS_GENERATION_FAILED = 40551,
    // The properties page.
    IDS_INVALID_PARAMETER = 40531,          // a parameter's field fails its check
    // The wizard, its help menu, the about box, the welcome and theme pages.
    IDS_ABOUT_MENU = 101,                   // "&About..."
    IDS_SHOW_TIP_MENU = 121,                // "&Show tip of the day"
    IDS_CREATE_NEW_TIP = 1019,              // tooltip of the create-new button
    IDS_OPEN_EXISTING_TIP = 1028,           // tooltip of the open-existing button
    IDS_EXIT_NOW = 1091,                    // Cancel asks before the wizard closes
    IDS_PRODUCT_NAME = 40601,               // the wizard's title and the about box's name
    IDS_PRODUCT_VERSION = 40602,
    IDS_LEGAL_NOTICE = 40603,
    IDS_SUPPORT_MAIL_SUBJECT = 40604,
    IDS_HELP_CONTENTS = 40605,              // the help menu's items
    IDS_TIP_OF_THE_DAY = 40606,
    IDS_WHATS_NEW = 40607,
    IDS_ONLINE_SUPPORT = 40608,
    IDS_MAIL_SUPPORT = 40609,
    IDS_SELECT_THEME = 40611,               // Next with a plug-in instead of a theme chosen
    IDS_UNINSTALL_THEME_QUESTION = 40612,
    IDS_DOWNLOAD_THEMES = 40613,            // the download button and its tooltip
    IDS_DOWNLOAD_THEMES_TIP = 40614,
    IDS_INSTALL_THEME = 40615,              // the theme tree's context menu
    IDS_UNINSTALL_THEME = 40616,
    IDS_WEB_HOME = 40617,                   // the maker's web addresses
    IDS_WEB_HELP = 40618,
    IDS_WEB_SUPPORT = 40619,
    IDS_WEB_THEMES = 40620,
    IDS_WEB_WHATS_NEW = 40621,
    IDS_SUPPORT_MAILBOX = 40622,
    IDS_ABOUT_TITLE = 40623,
    IDS_ABOUT_SUPPORT = 40624,
    IDS_DONE = 40625,                       // texts of buttons without a skin picture
    IDS_BACK = 40626,
    IDS_NEXT = 40627,
    IDS_FINISH = 40628,
    IDS_HELP = 40629,
    IDS_CREATE_NEW = 40630,                 // the welcome page's two choices
    IDS_OPEN_EXISTING = 40631,
    IDS_WEB_LINK = 40633,                   // the about box's link to the web site
    IDS_WELCOME_QUESTION = 40634,
    IDS_MAIL_FAILED = 40635,                // no mail program took the support mail
    IDS_CONTINUE_WITH_GV_TIP = 1071,        // the final page's two choices: tooltips, texts
    IDS_EXIT_APPLICATION_TIP = 1073,
    IDS_CONTINUE_WITH_GV = 40641,
    IDS_EXIT_APPLICATION = 40642,
    // The tip of the day and the hyperlink control.
    IDS_TIP_TITLE = 122,                    // the tip dialog's caption
    IDS_TIP_HEADING = 125,                  // "Did you know..."
    IDS_TIPS_FILE_MISSING = 126,            // the tips could not be copied out
    IDS_TIPS_READ_ERROR = 127,              // the tips could not be read
    IDS_NEXT_TIP = 40701,                   // the tip dialog's buttons
    IDS_SHOW_TIP = 40702,
    IDS_LINK_UNABLE = 40710,                // a hyperlink target could not be opened
    IDS_LINK_ERROR_FIRST = 40711,           // its reasons by code: 0, 2, 3, 5, 8, 11, 26..32
    IDS_LINK_UNKNOWN_ERROR = 40724,         // any other code
    // The EXIF information dialog (field toggles' tooltips are the toggles' own ids).
    IDS_EXIF_TITLE = 41001,                 // the dialog's title
    IDS_EXIF_DESCRIPTION_COLUMN = 41002,    // column headers
    IDS_EXIF_TITLE_COLUMN = 41003,
    IDS_EXIF_CHECK_ALL = 41004,             // the all-buttons
    IDS_EXIF_CLEAR_ALL = 41005,
    IDS_EXIF_ADD = 41006,                   // the radios and the apply-to-all toggle
    IDS_EXIF_REPLACE = 41007,
    IDS_EXIF_APPLY_TO_ALL = 41008,
    IDS_IMAGE_DAMAGED = 41009,              // the description of a photo that cannot be read
    IDS_NO_EXIF_INFORMATION = 32814,        // some photos had no EXIF data
    // Acquiring from scanners and cameras.
    IDS_TWAIN_TRANSFER_FAILED = 32813,      // an acquired picture could not be written
    IDS_TWAIN_INTERNAL_ERROR = 41021,       // a capability could not be prepared
    IDS_SOURCE_LIST_TITLE = 41022,          // our device list dialog
    IDS_SOURCE_LIST_LABEL = 41023,
    IDS_SOURCE_LIST_EMPTY = 41024,          // shown in the list when there is no device
    IDS_TWAIN_ERROR_FIRST = 41025,          // the error reports by code 0..4
    IDS_TWAIN_SCANNING = 41030,             // the progress window while pictures arrive
    IDS_TWAIN_SCANNING_PAGE = 41031,
    IDS_SCAN_OPTIONS_TITLE = 41032,         // the scan settings dialog
    IDS_SCAN_SOURCE = 41033,
    IDS_SCAN_MODE = 41034,
    IDS_SCAN_RESOLUTION = 41035,
    IDS_SCAN_AREA = 41036,
    IDS_SCAN_DPI = 41037,
    IDS_SCAN_BUTTON = 41038,
    IDS_SCAN_AREA_WHOLE = 41039,            // the scan area presets
    IDS_SCAN_AREA_A4 = 41040,
    IDS_SCAN_AREA_LETTER = 41041,
    IDS_SCAN_AREA_A5 = 41042,
    IDS_SCAN_AREA_PHOTO = 41043,
    // The album manager page and its properties dialog.
    IDS_SELECT_ALBUM_FIRST = 183,
    IDS_DELETE_ALBUM_QUESTION = 186,
    IDS_DELETE_ALBUM_FAILED = 187,
    IDS_RENAME_FAILED = 189,
    IDS_SELECT_ALBUM_TO_DELETE = 1095,
    IDS_MENU_OPEN_ALBUM = 40801,            // the album list's context menu
    IDS_MENU_VIEW_ALBUM = 40802,
    IDS_MENU_RENAME_ALBUM = 40803,
    IDS_MENU_DELETE = 40804,
    IDS_MENU_PROPERTIES = 40805,
    IDS_MENU_PRINT = 40806,
    IDS_TIP_ALBUM = 40807,                  // the three lines of an album's info tip
    IDS_TIP_CONTAINS = 40808,
    IDS_TIP_TEMPLATE = 40809,
    IDS_OPEN_BUTTON = 40810,                // the page's buttons without a skin picture
    IDS_VIEW_BUTTON = 40811,
    IDS_RENAME_BUTTON = 40812,
    IDS_PROPERTY_BUTTON = 40813,
    IDS_PRINT_BUTTON = 40814,
    IDS_FIND_ALBUM_BUTTON = 40815,
    IDS_DELETE_ALBUM_BUTTON = 40816,
    IDS_VIEW_FAILED = 40817,                // the plug-in could not show the album
    IDS_PRINT_FAILED = 40818,               // the print program could not be started
    IDS_ALBUM_PROPERTIES_TITLE = 40820,     // the album properties dialog
    IDS_PROP_ALBUM_NAME = 40821,
    IDS_PROP_THEME = 40822,
    IDS_PROP_PLUGIN = 40823,
    IDS_PROP_IMAGE_COUNT = 40824,
    IDS_PROP_FAVORITES = 40825,
    IDS_PROP_PATH = 40826,
    IDS_PROP_SETTINGS_FILE = 40827,
    IDS_PROP_NOT_AVAILABLE = 40828,
    IDS_PARAM_BROWSE_BUTTON = 40850,        // the album properties page's buttons and texts
    IDS_PARAM_CHOOSE_FOLDER = 40851,
    IDS_PARAM_CHOOSE_COLOR = 40852,
    IDS_PARAM_CHOOSE_FONT = 40853,
    IDS_PARAM_FONT_SAMPLE = 40854,
    IDS_SAVE_BEFORE_EXIT = 41101,           // closing the wizard with unsaved changes
    IDS_SAVE_BUTTON = 41102,                // that question's three buttons
    IDS_DONT_SAVE_BUTTON = 41103,
    IDS_NAME_ALBUM_LIST = 41105,            // spoken names of controls that show no caption
    IDS_NAME_THEME_TREE = 41106,
    IDS_NAME_THEME_PREVIEW = 41107,
    IDS_NAME_PHOTO_TITLES = 41108,
    IDS_NAME_PHOTO_FILES = 41109,
    IDS_NAME_PHOTO_PREVIEW = 41110,
    IDS_NAME_PHOTO_DESCRIPTION = 41111,
    IDS_NAME_SUBFOLDER = 41112,
    IDS_NAME_NO_PHOTOS = 41113,
    IDS_NAME_INCREASE = 41114,
    IDS_NAME_DECREASE = 41115,
    IDS_NAME_FORM_SCROLL = 41116,
    // Publishing: the FTP session and the site address.
    IDS_FTP_BAD_ADDRESS = 129,              // the address is not a usable FTP address
    IDS_FTP_CONNECT_FAILED = 130,           // a connection failed without a reason of its own
    IDS_FTP_NO_SESSION = 41201,             // the publishing session could not be started
};

// The text of id, or an empty text for an unknown id.
QString loadString(int id);
