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
        {40501, QStringLiteral("All supported formats|*.jpg;*.jpeg;*.jpe;*.gif;*.png;*.bmp;*.tiff;"
                               "*.tif|JPEG  Files (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|GIF files "
                               "(*.gif)|*.gif|Portable Network Graphics (*.png)|*.png|Windows "
                               "Bitmap (*.bmp)|*.bmp|TIF (*.tif;*.tiff)|*.tif;*.tiff||")},
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
    };
    return texts;
}

} // namespace

QString loadString(int id)
{
    return table().value(id);
}
