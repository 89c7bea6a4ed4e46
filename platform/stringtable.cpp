// SPDX-License-Identifier: GPL-2.0-or-later
#include "platform/stringtable.h"

#include <QHash>

namespace {

const QHash<int, QString>& table()
{
    static const QHash<int, QString> texts = {
        {101, QStringLiteral("&About...")},
        {102, QStringLiteral("Vellora Gallivex")},
        {116, QStringLiteral("Vellora")},
        {117, QStringLiteral("Gallivex")},
        {118, QStringLiteral("Error occured while opening album.\n\nFile is corrupted or "
                             "unsupported version.")},
        {119, QStringLiteral("Failed to initialize Gallivex. Application is not installed "
                             "properly.")},
        {190, QStringLiteral("Error loading image")},
        {1091, QStringLiteral("Exit Gallivex now?")},
        {1117, QStringLiteral("Empty album name.\n\nPlease name your album with a non-empty "
                              "string.")},
        {32805, QStringLiteral("JPEGQuality")},
        {32808, QStringLiteral("InterpolationMode")},
        {40001, QStringLiteral("The theme installer could not be started:\n%1\n\nPlease "
                               "reinstall Gallivex.")},
        {40101, QStringLiteral("Generating album...")},
        {40102, QStringLiteral("Starting...")},
        {40103, QStringLiteral("Cancel")},
        {40104, QStringLiteral("OK")},
        {40105, QStringLiteral("Please name your new album")},
        {40106, QStringLiteral("Album name:")},
        {184, QStringLiteral("Gallivex albums (*.gvp)|*.gvp||")},
        {183, QStringLiteral("Please select existing album first and press \"Next\" button. If "
                             "there are no albums to select, press \"Back\" to continue with "
                             "creation new album")},
        {186, QStringLiteral("Are you sure that you want to delete album \"%s\"?")},
        {187, QStringLiteral("Failed to delete file \"%s\".\n\nPlease check that the disk is not "
                             "write-protected and the path is correct.")},
        {189, QStringLiteral("Can not rename album. Error number %i")},
        {1095, QStringLiteral("Please, select the album which you wish to delete.")},
        {40801, QStringLiteral("&Open Album \tCtrl+O")},
        {40802, QStringLiteral("&View Album \tCtrl+V")},
        {40803, QStringLiteral("&Rename Album")},
        {40804, QStringLiteral("&Delete")},
        {40805, QStringLiteral("&Properties...")},
        {40806, QStringLiteral("&Print")},
        {40807, QStringLiteral("Album \"%1\"\n")},
        {40808, QStringLiteral("Contains %i images.\n")},
        {40809, QStringLiteral("Template: \"%1\"")},
        {40810, QStringLiteral("Open")},
        {40811, QStringLiteral("View")},
        {40812, QStringLiteral("Rename")},
        {40813, QStringLiteral("Property")},
        {40814, QStringLiteral("Print")},
        {40815, QStringLiteral("Find Album...")},
        {40816, QStringLiteral("Delete Album")},
        {40817, QStringLiteral("The album could not be shown (error %1).")},
        {40818, QStringLiteral("The print program could not be started.")},
        {40820, QStringLiteral("Album Properties")},
        {40821, QStringLiteral("Album Name:")},
        {40822, QStringLiteral("Theme:")},
        {40823, QStringLiteral("Plugin name:")},
        {40824, QStringLiteral("Number of images:")},
        {40825, QStringLiteral("Favorites shortcut:")},
        {40826, QStringLiteral("&Path to the album:")},
        {40827, QStringLiteral("&Settings file:")},
        {40828, QStringLiteral("N/A")},
        {40850, QStringLiteral("Browse")},
        {40851, QStringLiteral("Choose a folder")},
        {40852, QStringLiteral("Choose color")},
        {40853, QStringLiteral("Choose font")},
        {40854, QStringLiteral("AaBbYyZz")},
        {41101, QStringLiteral("Your album has changes that are not saved.\n\n"
                               "Save them before Gallivex closes?")},
        {41102, QStringLiteral("&Save")},
        {41103, QStringLiteral("Do&n't save")},
        {41105, QStringLiteral("Albums")},
        {41106, QStringLiteral("Themes")},
        {41107, QStringLiteral("Theme preview")},
        {41108, QStringLiteral("Photo titles")},
        {41109, QStringLiteral("Photo files")},
        {41110, QStringLiteral("Photo preview")},
        {41111, QStringLiteral("Photo description")},
        {41112, QStringLiteral("Subfolder in the album")},
        {41113, QStringLiteral("The album has no photos yet")},
        {41114, QStringLiteral("Increase")},
        {41115, QStringLiteral("Decrease")},
        {41116, QStringLiteral("Scroll the properties")},
        {32824, QStringLiteral("Please select the folder with photos you wish to add to your "
                               "album.")},
        {40201, QStringLiteral("Saving...")},
        {40202, QStringLiteral("Could not access image file \"%1\", listed in the album.\nDo "
                               "you want to specify an additional search folder?")},
        {40203, QStringLiteral("Plugin with the name \"%1\" is not installed.\nContinue "
                               "opening album?")},
        {40204, QStringLiteral("Template with the name \"%1\" is not installed.\nContinue "
                               "opening album?")},
        {40205, QStringLiteral("The album could not be given a file name in the projects "
                               "folder.\nDo you want to choose where to save it?")},
        {40206, QStringLiteral("Save album")},
        {109, QStringLiteral("Please, add images to the album first.")},
        {174, QStringLiteral("%i  images in the album / %i selected")},
        {1113, QStringLiteral("Are you sure you want to remove the selected image(s) from the "
                              "album?")},
        {32825, QStringLiteral("&Add photos from subfolders")},
        {32826, QStringLiteral("&Parse subfolder information")},
        {1003, QStringLiteral("Add images to album")},
        {1004, QStringLiteral("Remove images from album")},
        {1009, QStringLiteral("Select folder with photos to add")},
        {1013, QStringLiteral("Edit Image title")},
        {1105, QStringLiteral("Add photos directly from camera (TWAIN support)")},
        {1110, QStringLiteral("Shift the selected image(s) down in the album")},
        {1112, QStringLiteral("Shift images bottom")},
        {1211, QStringLiteral("Shift images to the top")},
        {1309, QStringLiteral("Shift the selected image(s) up in the album")},
        {1156, QStringLiteral("Enhance image color characteristics")},
        {1157, QStringLiteral("Print an image")},
        {1008, QStringLiteral("EXIF photo information")},
        {2113, QStringLiteral("Rotate right")},
        {2114, QStringLiteral("Rotate left")},
        {2115, QStringLiteral("Automatic colors adjustment")},
        {2116, QStringLiteral("Undo last operation")},
        {32784, QStringLiteral("&Rotate 90")},
        {32785, QStringLiteral("R&otate 180")},
        {32786, QStringLiteral("Ro&tate 270")},
        {32787, QStringLiteral("&Auto Levels")},
        {32798, QStringLiteral("&Print")},
        {32799, QStringLiteral("&Enhance")},
        {32800, QStringLiteral("&Undo previous")},
        {40901, QStringLiteral("&Add...")},
        {40902, QStringLiteral("Add &Folder ")},
        {40903, QStringLiteral("&Import")},
        {40904, QStringLiteral("&Remove")},
        {40905, QStringLiteral("&Top")},
        {40906, QStringLiteral("&Up")},
        {40907, QStringLiteral("&Down")},
        {40908, QStringLiteral("B&ottom")},
        {40909, QStringLiteral("Right")},
        {40910, QStringLiteral("Left")},
        {40911, QStringLiteral("Autolevels")},
        {40912, QStringLiteral("Edit Tit&le")},
        {40913, QStringLiteral("E&XIF")},
        {40914, QStringLiteral("&Enh button")},
        {40915, QStringLiteral("&Print btn")},
        {40916, QStringLiteral("The photo editor Lumivex is not installed.")},
        {40917, QStringLiteral("The print program is not installed.")},
        {40501, QStringLiteral("All supported formats|*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.bmp;*.tiff;"
                               "*.tif|JPEG  Files (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|GIF files "
                               "(*.gif)|*.gif|Portable Network Graphics (*.png)|*.png|Windows "
                               "Bitmap (*.bmp)|*.bmp|TIF (*.tif;*.tiff)|*.tif;*.tiff||")},
        {40502, QStringLiteral("These files and folders were skipped because their names are "
                               "not valid UTF-8 (the bytes that are not are shown as \\xHH). "
                               "Rename them to add them:\n%1")},
        {40503, QStringLiteral("These files were left out of the album:\n%1")},
        {40504, QStringLiteral("not a type of photo that albums take")},
        {40505, QStringLiteral("cannot be read as a picture")},
        {40506, QStringLiteral("... and %1 more")},
        {40507, QStringLiteral("HEIF photos")},
        {40508, QStringLiteral("AVIF photos")},
        {40509, QStringLiteral("WebP pictures")},
        {40510, QStringLiteral("JPEG XL pictures")},
        {40511, QStringLiteral("Specified path does not exist. Please, specify the existing "
                               "pathname.")},
        {40512, QStringLiteral("You chose to generate an album into the Gallivex installation "
                               "folder \"%1\".\n\nGeneration will be aborted.")},
        {40513, QStringLiteral("You chose to generate an album into the folder \"%1\".\n\n"
                               "Warning! The destination folder is not empty. Gallivex will "
                               "delete all files and subfolders before generating an album.\n\n"
                               "Are you sure you wish to continue?")},
        {40514, QStringLiteral("File Deletion Warning")},
        {40515, QStringLiteral("You chose to delete all files from the folder\n\"%1\"\n\nSelect "
                               "the deletion method and click \"OK\" to proceed.\n\nClick "
                               "\"Cancel\" to abort the process and choose another destination "
                               "folder. ")},
        {40516, QStringLiteral("Do not move files to the Recycle Bin.\nRemove files immediately "
                               "when deleted")},
        {40517, QStringLiteral("Do &not warn me again")},
        {40518, QStringLiteral("Moving files to Recycle Bin")},
        {40519, QStringLiteral("Select the location you want place your album")},
        {40520, QStringLiteral("The new album was not generated. Do you want to generate it "
                               "now?")},
        {40521, QStringLiteral("Would you like to save changes to your album?")},
        {40538, QStringLiteral("Besides its photos, the album will publish these files and "
                               "folders:\n\n%1\n\nDo you want to go on?")},
        {40539, QStringLiteral("%1 (the files in this folder)")},
        {40522, QStringLiteral("You chose to generate an album into the folder \"%1\".\n\nIt "
                               "holds photos of this album, such as \"%2\": emptying it would "
                               "delete them.\n\nGeneration will be aborted. Please, choose another "
                               "folder.")},
        {40523, QStringLiteral("You chose to generate an album into the folder \"%1\".\n\nIt is "
                               "your home folder or holds it: emptying it would delete your own "
                               "files.\n\nGeneration will be aborted. Please, choose another "
                               "folder.")},
        {40524, QStringLiteral("You chose to generate an album into the folder \"%1\".\n\nIt is "
                               "the top folder of a disk: emptying it would delete everything on "
                               "it.\n\nGeneration will be aborted. Please, choose another "
                               "folder.")},
        {40525, QStringLiteral("You chose to generate an album into the folder \"%1\".\n\nIt "
                               "holds the Gallivex program: emptying it would delete the "
                               "program.\n\nGeneration will be aborted. Please, choose another "
                               "folder.")},
        {40526, QStringLiteral("\"%1\" is a file, not a folder. Please, specify a folder for the "
                               "album.")},
        {40527, QStringLiteral("Some files of the folder \"%1\" could not be moved to the Trash, "
                               "such as \"%2\".\n\nGeneration will be aborted.")},
        {40528, QStringLiteral("Some files of the folder \"%1\" could not be deleted, such as "
                               "\"%2\".\n\nGeneration will be aborted.")},
        {40541, QStringLiteral("&Change...")},
        {40542, QStringLiteral("&Generate")},
        {40543, QStringLiteral("Save album settings")},
        {40544, QStringLiteral("Check this box to save current album settings and press Next "
                               "button")},
        {40545, QStringLiteral("Add to Favorites")},
        {40546, QStringLiteral("Check this box to add the album's link to your Favorites "
                               "folder")},
        {40547, QStringLiteral("Destination folder:")},
        {40548, QStringLiteral("Vellora Album")},
        {40549, QStringLiteral("The album was generated in \"%1\".")},
        {40550, QStringLiteral("Generation was cancelled. The album was not generated.")},
        {40551, QStringLiteral("The album was not generated: %1")},
        {40531, QStringLiteral("Please, input valid value for the parameter \"%1\"")},
        {121, QStringLiteral("&Show tip of the day")},
        {1019, QStringLiteral("Check to start creating new album  (Ctrl+C)")},
        {1028, QStringLiteral("Check to open existing album (Ctrl+O)")},
        {40601, QStringLiteral("Vellora Gallivex Basic 3.6")},
        {40602, QStringLiteral("3, 6, 603")},
        {40603, QStringLiteral("Copyright (C) Vellora. All rights reserved.")},
        {40604, QStringLiteral("Technical Support Vellora Gallivex Basic 3.6  Version: 3, 6, "
                               "603")},
        {40605, QStringLiteral("&Help Contents")},
        {40606, QStringLiteral("Ti&p of the day...")},
        {40607, QStringLiteral("&What's new...")},
        {40608, QStringLiteral("&Online support (web)")},
        {40609, QStringLiteral("&Technical support (e-mail)")},
        {40611, QStringLiteral("Please select the theme to continue ")},
        {40612, QStringLiteral("Are you sure you want to uninstall theme?")},
        {40613, QStringLiteral("&DWNLD")},
        {40614, QStringLiteral("Download new themes from the Vellora web site")},
        {40615, QStringLiteral("&Install theme...")},
        {40616, QStringLiteral("&Uninstall theme")},
        {40617, QStringLiteral("https://www.vellora.example/")},
        {40618, QStringLiteral("https://www.vellora.example/gallivex/help/")},
        {40619, QStringLiteral("https://www.vellora.example/support/")},
        {40620, QStringLiteral("https://www.vellora.example/gallivex/themes/")},
        {40621, QStringLiteral("https://www.vellora.example/gallivex/whatsnew/")},
        {40622, QStringLiteral("support@vellora.example")},
        {40623, QStringLiteral("About Gallivex")},
        {40624, QStringLiteral("&Support")},
        {40625, QStringLiteral("&Done")},
        {40626, QStringLiteral("< &Back")},
        {40627, QStringLiteral("&Next >")},
        {40628, QStringLiteral("&Finish")},
        {40629, QStringLiteral("&Help")},
        {40630, QStringLiteral("Create a &new album")},
        {40631, QStringLiteral("&Open an existing album")},
        {40633, QStringLiteral("Visit the Vellora web site")},
        {40634, QStringLiteral("What would you like to do?")},
        {40635, QStringLiteral("Failed to send mail.\n\nPlease write to %1.")},
        {1071, QStringLiteral("Check to continue with Gallivex (Ctrl+C)")},
        {1073, QStringLiteral("Check to exit application (Ctrl+E)")},
        {40641, QStringLiteral("Continue with a &new album")},
        {40642, QStringLiteral("&Exit Gallivex")},
        {122, QStringLiteral("Tip of the Day")},
        {125, QStringLiteral("Did you know...")},
        {126, QStringLiteral("Tips file does not exist in the prescribed directory")},
        {127, QStringLiteral("Error occured during tips file reading.")},
        {40701, QStringLiteral("&Next Tip")},
        {40702, QStringLiteral("&Show tip")},
        {40710, QStringLiteral("Unable to open hyperlink:\n\n")},
        {40711, QStringLiteral("The operating system is out\nof memory or resources.")},
        {40712, QStringLiteral("The specified file was not found.")},
        {40713, QStringLiteral("The specified path was not found.")},
        {40714, QStringLiteral("The operating system denied\naccess to the specified file.")},
        {40715, QStringLiteral("There was not enough memory to complete the operation.")},
        {40716, QStringLiteral("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE "
                               "image).")},
        {40717, QStringLiteral("A sharing violation occurred. ")},
        {40718, QStringLiteral("The filename association is\nincomplete or invalid.")},
        {40719, QStringLiteral("The DDE transaction could not\nbe completed because the request "
                               "timed out.")},
        {40720, QStringLiteral("The DDE transaction failed.")},
        {40721, QStringLiteral("The DDE transaction could not\nbe completed because other DDE "
                               "transactions\nwere being processed.")},
        {40722, QStringLiteral("There is no application associated\nwith the given filename "
                               "extension.")},
        {40723, QStringLiteral("The specified dynamic-link library was not found.")},
        {40724, QStringLiteral("Unknown Error (%d) occurred.")},
        {1410, QStringLiteral("Include date information into comment field")},
        {1411, QStringLiteral("Include date information into file name")},
        {1420, QStringLiteral("Include time information into comment field")},
        {1421, QStringLiteral("Include time information into file name")},
        {1430, QStringLiteral("Include camera information into comment field")},
        {1431, QStringLiteral("Include camera information into file name")},
        {1440, QStringLiteral("Include focal length information into comment field")},
        {1441, QStringLiteral("Include focal length information into file name")},
        {1450, QStringLiteral("Include aperture information into comment field")},
        {1451, QStringLiteral("Include aperture information into file name")},
        {1460, QStringLiteral("Include flash information into comment field")},
        {1461, QStringLiteral("Include flash information into file name")},
        {1470, QStringLiteral("Include diaphragm information into comment field")},
        {1471, QStringLiteral("Include diaphragm information into file name")},
        {1480, QStringLiteral("Include ISO information into comment field")},
        {1481, QStringLiteral("Include ISO information into file name")},
        {1490, QStringLiteral("Check all fields")},
        {1491, QStringLiteral("Uncheck all fields")},
        {1492, QStringLiteral("Check all fields")},
        {1493, QStringLiteral("Uncheck all fields")},
        {1494, QStringLiteral("Replace existing information")},
        {1495, QStringLiteral("Add checked data to existing information")},
        {1496, QStringLiteral("Apply changes to all files in title list")},
        {41001, QStringLiteral("Exif information")},
        {41002, QStringLiteral("Description")},
        {41003, QStringLiteral("Title")},
        {41004, QStringLiteral("Check all")},
        {41005, QStringLiteral("Clear all")},
        {41006, QStringLiteral("Add")},
        {41007, QStringLiteral("Replace")},
        {41008, QStringLiteral("Apply to all images")},
        {41009, QStringLiteral("Image damaged!")},
        {32814, QStringLiteral("Some photos do not contain EXIF information.")},
        {32813, QStringLiteral("Can not transfer image from twain driver.")},
        {41021, QStringLiteral("Internal error while preparing for TWAIN acquire.")},
        {41022, QStringLiteral("Select Source")},
        {41023, QStringLiteral("Scanners and cameras:")},
        {41024, QStringLiteral("No scanner or camera was found.")},
        {41025, QStringLiteral("The scanner and camera services could not be started.")},
        {41026, QStringLiteral("The scanner or camera could not be opened.")},
        {41027, QStringLiteral("The scanner or camera could not be started.")},
        {41028, QStringLiteral("The scanner or camera could not be prepared.")},
        {41029, QStringLiteral("The scanner or camera stopped: %1")},
        {41030, QStringLiteral("Scanning...")},
        {41031, QStringLiteral("Scanning page %1...")},
        {41032, QStringLiteral("Scan Settings")},
        {41033, QStringLiteral("&Source:")},
        {41034, QStringLiteral("&Mode:")},
        {41035, QStringLiteral("&Resolution:")},
        {41036, QStringLiteral("Scan &area:")},
        {41037, QStringLiteral("%1 dpi")},
        {41038, QStringLiteral("Scan")},
        {41039, QStringLiteral("Whole area")},
        {41040, QStringLiteral("A4 (210 x 297 mm)")},
        {41041, QStringLiteral("Letter (8.5 x 11 in)")},
        {41042, QStringLiteral("A5 (148 x 210 mm)")},
        {41043, QStringLiteral("Photo (10 x 15 cm)")},
        // Publishing: the FTP session and the site address.
        {129, QStringLiteral("Please enter a valid FTP address, for example\n"
                             "ftp://ftp.example.com/photos or ftp.example.com/photos")},
        {130, QStringLiteral("An exception occurred when attempting to create an FTP "
                             "connection.\nPlease check your internet configuration and make "
                             "sure your environment\nis set up with WININET.DLL in the path.")},
        {41201, QStringLiteral("Cannot open an Internet Session.  Please check your internet "
                               "configuration.")},
        // Publishing: remote folders and the album transfer.
        {177, QStringLiteral("Can not create a remote folder.\n\nPlease check that you have an "
                             "appropriate access rights on the server.")},
        {178, QStringLiteral("Are you sure you want to completely remove FTP folder \"%s\" "
                             "including all its content and subfolders?")},
        {179, QStringLiteral("Failed to delete the remote folder \"%s\".\n\nPlease check that "
                             "you have an appropriate access rights on the server.")},
        {180, QStringLiteral("You are going to publish the album into the non-empty folder:\n"
                             "%s\n\nIt is higly recommended to publish each new album into a "
                             "new folder.\nOtherwise your existing files will be overwritten."
                             "\n\nAre you sure you wish to continue?")},
        {181, QStringLiteral("Can not transfer album data to \"%s\" folder.\nPlease, check the "
                             "error log file for details.")},
        {41250, QStringLiteral("Unknown error.\n\nFailed to create folder:\n%s")},
        {41251, QStringLiteral("Transferring album to folder:\r\n%s")},
        {41252, QStringLiteral("Transfer finished successfully\r\n")},
        {41253, QStringLiteral("Transfer...")},
        {41254, QStringLiteral("The list of the album's files could not be written to \"%1\": "
                               "%2")},
        {41255, QStringLiteral("No file list was fetched from the server, so every file is "
                               "sent. %1")},
        {41256, QStringLiteral("The file list on the server is not used, so every file is "
                               "sent. %1")},
        {41257, QStringLiteral("The file \"%1\" changed while the album was being published.\n"
                               "Please publish the album again once it is complete.")},
        {41258, QStringLiteral("The file \"%1\" could not be read to be sent.")},
        {41259, QStringLiteral("The name of \"%1\" cannot be used on the server.\nPlease "
                               "rename it and publish the album again.")},
        {41260, QStringLiteral("The server refused to rename \"%1\" to \"%2\"; the file is sent "
                               "under its own name instead.")},
        {41261, QStringLiteral("The unfinished upload \"%1\" could not be removed from the "
                               "server.")},
        {41262, QStringLiteral("The transfer was cancelled.")},
        {41263, QStringLiteral("The file \"%1\" could not be sent:\n%2")},
        {41264, QStringLiteral("The album folder \"%1\" cannot be read.")},
        {41265, QStringLiteral("The path \"%1\" lies outside the folder \"%2\" chosen on the "
                               "server.")},
        {41266, QStringLiteral("The file list is larger than %1 bytes.")},
        {41267, QStringLiteral("The file list is not a valid XML document (%1).")},
        {41268, QStringLiteral("The file list has no \"FileList\" root element.")},
        {41269, QStringLiteral("The file list nests folders deeper than %1 levels.")},
        {41270, QStringLiteral("The file list names an entry \"%1\" that cannot be a file "
                               "name.")},
        {41271, QStringLiteral("The file list declares a document type, which a file list "
                               "never has.")},
        {41272, QStringLiteral("The file list could not be read (%1).")},
        {41273, QStringLiteral("The current folder on the server could not be read.")},
        // Publishing: the final page's Publish button and the publish dialog.
        {185, QStringLiteral("The album was not generated at the previous step. Please return "
                             "to the previous step and generate the album first.")},
        {1086, QStringLiteral("Publish current album to Web")},
        {1116, QStringLiteral("Please enter your ftp server address here and press Connect "
                              "button")},
        {1060, QStringLiteral("Enable anonymous access")},
        {1062, QStringLiteral("Save your password")},
        {41300, QStringLiteral("Publish album")},
        {41301, QStringLiteral("FTP address")},
        {41302, QStringLiteral("Login")},
        {41303, QStringLiteral("Password")},
        {41304, QStringLiteral("Connect")},
        {41305, QStringLiteral("Use anonymous")},
        {41306, QStringLiteral("Save password")},
        {41307, QStringLiteral("Create Folder")},
        {41308, QStringLiteral("Remove Folder")},
        {41309, QStringLiteral("Transfer Album")},
        {41310, QStringLiteral("Help")},
        {41311, QStringLiteral("Remote folders")},
        {41312, QStringLiteral("An FTP connection has not been established.")},
        {41313, QStringLiteral("Enter the FTP folder name")},
        {41314, QStringLiteral("Create FTP Folder")},
        {41315, QStringLiteral("Folder name")},
        {41317, QStringLiteral("No certificate authority vouches for the certificate of %1.\n\n"
                               "SHA-256 of its public key:\n%2\n\nTrust this certificate for "
                               "this site from now on?")},
        {41318, QStringLiteral("Publish")},
    };
    return texts;
}

} // namespace

QString loadString(int id)
{
    return table().value(id);
}
