// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/lumivexstrings.h"

#include <QHash>

namespace
{

const QHash<int, QString>& table()
{
    static const QHash<int, QString> texts = {
        {124, QStringLiteral("Unable to open hyperlink:\n\n")},
        {125, QStringLiteral("Brightness: %d")},
        {126, QStringLiteral("Contrast: %d")},
        {127, QStringLiteral("Gamma correction: %d")},
        {128, QStringLiteral("Lumivex\n\nLumi\n\n\nLumivex.Document\nLumi Document")},
        {130, QStringLiteral("Undo auto level")},
        {132, QStringLiteral("Auto level adjustment")},
        {134, QStringLiteral("Undo auto levels")},
        {135, QStringLiteral("Auto levels adjustment")},
        {138, QStringLiteral("Error writing to file    ")},
        // Printing: the note recommending the print program, and the print program's page.
        {140, QStringLiteral("https://www.vellora.example/quindle/")},
        {40101, QStringLiteral("Note")},
        {40102, QStringLiteral("To get high quality printing we recommend you")},
        {40103, QStringLiteral("to use  ")},
        {40104, QStringLiteral("Vellora Quindle")},
        {40105, QStringLiteral("Don't show this message again")},
        {40106, QStringLiteral("The print program could not be started:\n%1")},
        {142, QStringLiteral("Do you want to save your changes?")},
        {144, QStringLiteral("Error: target file has read-only attribute. Do you want to save it "
                             "anyway?")},
        {146, QStringLiteral("Error: can't write to file")},
        {149, QStringLiteral("Undo \tCtrl+Z")},
        {152, QStringLiteral("Redo \tCtrl+Z")},
        {155, QStringLiteral("You have to specify the extension of the output file")},
        {157, QStringLiteral("Please wait until previous operation finishes or press Esc to "
                             "cancel it")},
        {160, QStringLiteral("Please finish image cropping or press Esc to cancel it")},
        {163, QStringLiteral("Scale %d%%")},
        {165, QStringLiteral("Image %d of %d")},
        {174, QStringLiteral("The selected area does not contain any part of the image.")},
        {176, QStringLiteral("Undo the last operation\nUndo")},
        {179, QStringLiteral("Redo the last operation\nRedo")},
        {182, QStringLiteral("Scale 10000%")},
        {185, QStringLiteral("scale %d%%")},
        {187, QStringLiteral("Brush size: %d")},
        {188, QStringLiteral("Keep Image Aspect Ratio\nKeep Image Aspect Ratio")},
        {189, QStringLiteral("Adjust eye color")},
        {190, QStringLiteral("Brush sharpness: %d")},
        {191, QStringLiteral("Wrong initial size.")},
        {192, QStringLiteral("%%   (%d pixels)")},
        {193, QStringLiteral("pixels (%d%%)")},
        {194, QStringLiteral("Image too large.")},
        {195, QStringLiteral("Size of image undefined.")},
        {196, QStringLiteral("Amount %d%%")},
        {197, QStringLiteral("Percents")},
        {198, QStringLiteral("Pixels")},
        {40001, QStringLiteral("Lumivex Version 1.5  b115")},
        {40002, QStringLiteral("The image %1 could not be opened:\n%2")},
        {40003, QStringLiteral("it is %1 x %2 pixels, more than the %3 megapixels the editor "
                               "works on")},
        {40004, QStringLiteral("it is not an image file this program can read")},
        {40005, QStringLiteral("the file is empty")},
        {40006, QStringLiteral("its picture data are damaged or cut short")},
        {40007, QStringLiteral("there is no such file")},
        {40008, QStringLiteral("The list of photos to open (%1) could not be read.")},
        {40009, QStringLiteral("The list of photos to open (%1) is empty.")},
        {40010, QStringLiteral("Line %1 of the list of photos is too long to be a file name; it "
                               "was left out.")},
        {40011, QStringLiteral("Line %1 of the list of photos is not UTF-8 text; it was left "
                               "out.")},
        {40012, QStringLiteral("The list of photos to open (%1) could not be deleted.")},
        {40013, QStringLiteral("Open")},
        {40014, QStringLiteral("Save As")},
        {40015, QStringLiteral("no encoder writes %1 files")},
        {40016, QStringLiteral("the encoder could not write the file")},
        {40017, QStringLiteral("its side file could not be updated")},
        {40018, QStringLiteral("Lumivex opens %1 but does not write them, so %2 stays as it is. "
                               "Your changes are saved in a new file: choose its name (a JPEG "
                               "file beside the photo is suggested).")},
        {40019, QStringLiteral("%1 is the original photo and stays as it is. Choose another name "
                               "for the edited photo.")},
        {32771, QStringLiteral("Enhance image colors\nEnhance image colors")},
        {32774, QStringLiteral("Zoom in\nZoom in")},
        {32776, QStringLiteral("Rotate image\nRotate image")},
        {32777, QStringLiteral("Rotate Clockwise\nRotate Clockwise")},
        {32779, QStringLiteral("Rotate Conter Clockwise\nRotate Conter Clockwise")},
        {32780, QStringLiteral("Zoom 1:1\nZoom 100%")},
        {32782, QStringLiteral("Custom Angle Rotate\nCustom Angle Rotate")},
        {32785, QStringLiteral("Resize image\nResize image")},
        {32786, QStringLiteral("Sharpen image\nSharpen image")},
        {32787, QStringLiteral("Crop image\nCrop image")},
        {32788, QStringLiteral("Zoom fit at window\nZoom fit at window")},
        {32789, QStringLiteral("Remove red eyes\nRemove red eyes")},
        {32791, QStringLiteral("Film proportions\nFilm proportions")},
        {32793, QStringLiteral("Digital photo proportions\nDigital photo proportions")},
        {32802, QStringLiteral("\nPrevious image")},
        {32803, QStringLiteral("\nNext image")},
        // The main frame: the hints of the framework's own commands, the about box.
        {57600, QStringLiteral("Create a new document\nNew")},
        {57601, QStringLiteral("Open an existing document\nOpen")},
        {57603, QStringLiteral("Save the active document\nSave")},
        {57604, QStringLiteral("Save the active document with a new name\nSave As")},
        {57606, QStringLiteral("Change the printer and printing options\nPrint Setup")},
        {57607, QStringLiteral("Print the active document\nPrint")},
        {57609, QStringLiteral("Display full pages\nPrint Preview")},
        {57616, QStringLiteral("Open this document")},
        {57664, QStringLiteral("Display program information, version number and copyright\nAbout")},
        {57665, QStringLiteral("Quit the application; prompts to save documents\nExit")},
        {57670, QStringLiteral("List Help topics\nHelp Topics")},
        {59392, QStringLiteral("Show or hide the toolbar\nToggle ToolBar")},
        {59393, QStringLiteral("Show or hide the status bar\nToggle StatusBar")},
        {32775, QStringLiteral("Zoom out\nZoom out")},
        {32781, QStringLiteral("Rotate 180\nRotate 180")},
        {32783, QStringLiteral("Flip horizontal\nFlip horizontal")},
        {32784, QStringLiteral("Flip vertical\nFlip vertical")},
        {40200, QStringLiteral("About Lumivex")},
        {40201, QStringLiteral("https://www.vellora.example/")},
        {40202, QStringLiteral("www.vellora.example")},
        {40203, QStringLiteral("The help page %1 could not be opened.")},
        // The preview control and the red-eye dialog's toolbars: prompt, newline, tooltip.
        {32772, QStringLiteral("Zoom in\nZoom in")},
        {32773, QStringLiteral("Zoom out\nZoom out")},
        {32790, QStringLiteral("Use brush\nUse brush")},
        {32796, QStringLiteral("Undo stroke\nUndo stroke")},
        {32797, QStringLiteral("Redo stroke\nRedo stroke")},
        {32799, QStringLiteral("Pick color from palette\nPick color from palette")},
        {32800, QStringLiteral("Pick color from image\nPick color from image")},
        {32801, QStringLiteral("Drag image\nDrag image")},
        {57380, QStringLiteral("All supported formats|*.jpg;*.jpeg;*.jpe;*gif;*.png;*.bmp;*.tiff;"
                               "*.tif|JPEG  Files (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|GIF "
                               "files (*.gif)|*.gif|Portable Network Graphics (*.png)|*.png|"
                               "Windows Bitmap (*.bmp)|*.bmp|TIF (*.tif;*.tiff)|*.tif;*.tiff||")},
        {57381, QStringLiteral("JPEG  Files (*.jpg;*.jpeg;*.jpe)|*.jpg;*.jpeg;*.jpe|GIF files "
                               "(*.gif)|*.gif|Portable Network Graphics (*.png)|*.png|Windows "
                               "Bitmap (*.bmp)|*.bmp|TIF (*.tif;*.tiff)|*.tif;*.tiff||")},
    };
    return texts;
}

} // namespace

QString loadLumivexString(int id)
{
    return table().value(id);
}
