// SPDX-License-Identifier: GPL-2.0-or-later
// ImageListChoosers: the two choosers of the image list page, which the shared choosers do
// not offer: several photo files at once, and a folder with the page's two check boxes. The
// desktop program shows dialogs; tests install scripted choosers.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

class ImageListChoosers
{
public:
    struct FolderChoice {
        QString folder;
        bool withSubfolders = true;
        bool parseSubfolders = true;
    };

    virtual ~ImageListChoosers() = default;
    // Photo files to add, starting in folder; filter is the page's "a|b|..." filter text.
    // Empty when the user cancelled.
    virtual QStringList openImages(const QString& folder, const QString& filter) = 0;
    // A folder of photos and the two check boxes, preset from preset; nothing on Cancel.
    virtual std::optional<FolderChoice> imageFolder(const QString& title,
                                                    const FolderChoice& preset) = 0;
};

// The dialogs of the desktop program.
class DialogImageListChoosers : public ImageListChoosers
{
public:
    QStringList openImages(const QString& folder, const QString& filter) override;
    std::optional<FolderChoice> imageFolder(const QString& title,
                                            const FolderChoice& preset) override;

    // The page's filter text ("name|patterns|name|patterns||") as the file dialog's filters.
    static QString DialogFilter(const QString& filter);
};
