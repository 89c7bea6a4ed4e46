// SPDX-License-Identifier: GPL-2.0-or-later
// The skin: the three colours every dialog and control draws with, and the button and step
// pictures, found by picture id in the graphics folder beside the program.
#pragma once

#include <cstdint>

#include <QIcon>
#include <QImage>
#include <QString>

#include "shell/skinscheme.h"

class Prompter;
class Settings;

// Pictures of the program's own beyond the numbered skin: the empty image list's splash.
enum SkinPicture : int { SKIN_LISTBOX_SPLASH = 90001 };

// Colours are COLORREF values (0x00BBGGRR).
enum SkinColor : int { SKIN_BACKGROUND = 0, SKIN_TEXT = 1, SKIN_LABEL = 2 };

class Skin {
public:
    // The light scheme's colours, the defaults on a light desktop.
    static constexpr int32_t DefaultBackground = 9413023; // R 159, G 161, B 143
    static constexpr int32_t DefaultText = 3680812;       // R 44, G 42, B 56
    static constexpr int32_t DefaultLabel = 7244905;      // R 105, G 140, B 110
    // The text colour of earlier versions, too faint on the background: read as the default.
    static constexpr int32_t FormerDefaultText = 5456195; // R 67, G 65, B 83

    Skin(Settings& settings, QString programFolder);

    // The scheme the colours and pictures follow, light until told otherwise.
    void SetScheme(ColourScheme scheme);
    ColourScheme Scheme() const { return m_scheme; }
    // The default colour of index 0, 1 or 2 in scheme.
    static int32_t DefaultColor(int index, ColourScheme scheme);

    // The colour of index 0, 1 or 2; 0 for any other index. Read from the settings on first
    // use; missing or negative colours are replaced by the defaults and written back. A
    // stored colour that is one of the built-in defaults follows the scheme; any other is
    // the user's own and is kept.
    int32_t GetSkinColor(int index);
    // The picture of id, or a null image when the id is unknown or its file cannot be read.
    QImage LoadSkinPicture(int pictureId) const;
    // As above for a screen of the given pixel ratio: above 1 the double-size picture
    // ("back@2x.gif") is taken when there is one, marked with a device pixel ratio of 2. In
    // the dark scheme the dark picture ("back-dark.gif") is taken when there is one.
    QImage LoadSkinPicture(int pictureId, qreal screenRatio) const;
    // As LoadSkinPicture, telling the user when the picture cannot be loaded.
    QImage LoadSkinPicture(int pictureId, Prompter& prompter) const;

    // The program's icon from the graphics folder (every drawn size, and the SVG where an
    // SVG reader is installed); an empty icon when none of its files can be read.
    QIcon ApplicationIcon() const;

    // Makes this skin the one the shared controls (picture buttons, tip dialog) draw with;
    // the skin must outlive them. Missing pictures are reported through prompter.
    void installInControls(Prompter& prompter);

    // The file name of a picture id, or "" when the id has none.
    static QString pictureFile(int pictureId);

private:
    void readColors();
    QImage loadFromGraphics(const QString& file, qreal screenRatio) const;

    Settings& m_settings;
    QString m_programFolder;
    int32_t m_colors[3] = {0, 0, 0};
    ColourScheme m_scheme = ColourScheme::Light;
};
