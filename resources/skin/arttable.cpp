// SPDX-License-Identifier: GPL-2.0-or-later
#include "skinart.h"

#include "shell/skin.h"

namespace
{

using K = ArtKind;
using G = Glyph;

} // namespace

const std::vector<ArtSpec>& artTable()
{
    // Sizes are one frame's; the wizard buttons fit the sheet's 3,3-73,27 clickable area, the
    // welcome and final page options their 340 x 24 places.
    static const std::vector<ArtSpec> table = {
        {182, "back.gif", K::Wizard, 76, 30, 3, "Back", G::Back, 0},
        {184, "next.gif", K::Wizard, 76, 30, 3, "Next", G::Next, 0},
        {188, "cancel.gif", K::Link, 84, 18, 2, "Cancel", G::Cross, 0},
        {189, "help.gif", K::Link, 84, 18, 2, "Help", G::Help, 0},
        {202, "add.gif", K::Tool, 96, 24, 2, "Add", G::Plus, 0},
        {203, "enhance.gif", K::Tool, 96, 24, 2, "Enhance", G::Sparkle, 0},
        {204, "print.gif", K::Tool, 96, 24, 2, "Print", G::Printer, 0},
        {205, "remove.gif", K::Tool, 96, 24, 2, "Remove", G::Minus, 0},
        {208, "showtips.gif", K::Check, 170, 20, 2, "Show tips at start-up", G::None, 0},
        {209, "generate.jpg", K::Picture, 220, 160, 1, "", G::None, 0},
        {210, "support.gif", K::Tool, 110, 24, 2, "Support", G::Lifebuoy, 0},
        {211, "savesetting.gif", K::Tool, 130, 24, 2, "Save settings", G::Disk, 0},
        {212, "addtofav.gif", K::Tool, 140, 24, 2, "Add to Favorites", G::Star, 0},
        {213, "savepwd.gif", K::Check, 150, 20, 2, "Save password", G::None, 0},
        {214, "anonymous.gif", K::Check, 150, 20, 2, "Anonymous login", G::None, 0},
        {215, "addfolder.gif", K::Tool, 110, 24, 2, "Add folder", G::FolderPlus, 0},
        {228, "done.gif", K::Wizard, 76, 30, 3, "Done", G::Check, 0},
        {229, "browse.gif", K::Tool, 96, 24, 2, "Browse...", G::Folder, 0},
        {231, "createproject.gif", K::Choice, 340, 24, 2, "Create a new album", G::None, 0},
        {232, "modifyproject.gif", K::Choice, 340, 24, 2, "Open an existing album", G::None, 0},
        {239, "step0.gif", K::Step, 598, 548, 1, "", G::None, 0},
        {240, "step1.gif", K::Step, 598, 548, 1, "", G::None, 1},
        {241, "step2.gif", K::Step, 598, 548, 1, "", G::None, 2},
        {242, "step3.gif", K::Step, 598, 548, 1, "", G::None, 3},
        {243, "step4.gif", K::Step, 598, 548, 1, "", G::None, 4},
        {245, "step5.gif", K::Step, 598, 548, 1, "", G::None, 5},
        {248, "remove_fold.gif", K::Tool, 124, 24, 2, "Remove folder", G::FolderMinus, 0},
        {249, "create_fold.gif", K::Tool, 124, 24, 2, "New folder", G::FolderPlus, 0},
        {250, "transfer.gif", K::Tool, 110, 24, 2, "Transfer", G::Transfer, 0},
        {253, "ftpclose.gif", K::Tool, 110, 24, 2, "Done", G::Cross, 0},
        {254, "ftpconnect.gif", K::Tool, 110, 24, 2, "Connect", G::Plug, 0},
        {255, "ftplogin.gif", K::Label, 100, 20, 1, "Login", G::Person, 0},
        {256, "ftppwd.gif", K::Label, 100, 20, 1, "Password", G::Key, 0},
        {257, "save_pwd.gif", K::Check, 150, 20, 2, "Save password", G::None, 0},
        {259, "ftpaddress.gif", K::Label, 100, 20, 1, "Address", G::Globe, 0},
        {260, "ftpenter.gif", K::Label, 32, 32, 1, "", G::FolderPlus, 0},
        {261, "dlgok.gif", K::Tool, 80, 24, 2, "OK", G::Check, 0},
        {262, "dlgcancel.gif", K::Tool, 80, 24, 2, "Cancel", G::Cross, 0},
        {263, "delete.gif", K::Tool, 124, 24, 2, "Delete Album", G::Trash, 0},
        {264, "find.gif", K::Tool, 124, 24, 2, "Find Album...", G::Find, 0},
        {265, "step6.gif", K::Step, 598, 548, 1, "", G::None, 6},
        {266, "continue_gv.gif", K::Choice, 340, 24, 2, "Continue with a new album", G::None, 0},
        {267, "close_gv.gif", K::Choice, 340, 24, 2, "Exit Gallivex", G::None, 0},
        {268, "publish.gif", K::Tool, 78, 21, 2, "Publish", G::Globe, 0},
        {269, "ch_font.gif", K::Tool, 96, 24, 2, "Font...", G::Font, 0},
        {270, "ch_color.gif", K::Tool, 96, 24, 2, "Colour...", G::Palette, 0},
        {271, "ftphelp.gif", K::Link, 84, 18, 2, "Help", G::Help, 0},
        {281, "up.gif", K::Tool, 28, 24, 2, "", G::Up, 0},
        {282, "down.gif", K::Tool, 28, 24, 2, "", G::Down, 0},
        {283, "download.gif", K::Tool, 110, 24, 2, "Download", G::Download, 0},
        {284, "change.gif", K::Tool, 96, 24, 2, "Change", G::Change, 0},
        {291, "top.gif", K::Tool, 28, 24, 2, "", G::Top, 0},
        {292, "bottom.gif", K::Tool, 28, 24, 2, "", G::Bottom, 0},
        {293, "rotateright.gif", K::Tool, 28, 24, 2, "", G::RotateRight, 0},
        {294, "rotateleft.gif", K::Tool, 28, 24, 2, "", G::RotateLeft, 0},
        {295, "autolevels.gif", K::Tool, 110, 24, 2, "Auto levels", G::Levels, 0},
        {297, "edittitle.gif", K::Tool, 110, 24, 2, "Edit title", G::Pencil, 0},
        {298, "includesubfolders.gif", K::Check, 170, 20, 2, "Include subfolders", G::None, 0},
        {299, "viewalbum.gif", K::Tool, 96, 24, 2, "View", G::Eye, 0},
        {300, "renamealbum.gif", K::Tool, 96, 24, 2, "Rename", G::Pencil, 0},
        {301, "printalbum.gif", K::Tool, 96, 24, 2, "Print", G::Printer, 0},
        {302, "property.gif", K::Tool, 96, 24, 2, "Properties", G::Gear, 0},
        {303, "openalbum.gif", K::Tool, 96, 24, 2, "Open", G::Open, 0},
        {304, "bgcontrol.gif", K::Panel, 560, 330, 1, "", G::None, 0},
        {305, "bgexif.gif", K::Panel, 400, 400, 1, "", G::None, 0},
        {400, "exif.gif", K::Tool, 80, 24, 2, "EXIF", G::Info, 0},
        {401, "chkbox.gif", K::Check, 16, 16, 2, "", G::None, 0},
        {402, "checkall.gif", K::Tool, 110, 24, 2, "Check all", G::CheckAll, 0},
        {403, "uncheckall.gif", K::Tool, 110, 24, 2, "Uncheck all", G::UncheckAll, 0},
        {404, "apptoall.gif", K::Tool, 110, 24, 2, "Apply to all", G::Apply, 0},
        {405, "addcomment.gif", K::Tool, 110, 24, 2, "Add text", G::Comment, 0},
        {406, "replacecomment.gif", K::Tool, 120, 24, 2, "Replace text", G::Comment, 0},
        {407, "step3planka.gif", K::Panel, 593, 44, 1, "", G::None, 0},
        {32811, "import.gif", K::Tool, 96, 24, 2, "Import", G::Camera, 0},
        // Shown over the image list while the album has no photos.
        {SKIN_LISTBOX_SPLASH, "listboxsplash.gif", K::Picture, 313, 118, 1, "", G::None, 0},
    };
    return table;
}
