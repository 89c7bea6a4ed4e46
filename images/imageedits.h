// SPDX-License-Identifier: GPL-2.0-or-later
// CImageEdits: the image list page's turns and automatic levels, and the one-step undo of
// them. Pixels are never changed: a turn is the photo's Orientation tag and levels are its
// ReferenceBlackWhite tag, stored in the photo when its format carries tags, else in its side
// file. Before every edit the files it may change are copied aside, so the last edit can be
// undone exactly.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QImage>
#include <QString>
#include <QStringList>

namespace imaging
{
class Image;
}

class CImageEdits
{
public:
    // One photo of the selection: its row on the page and its path.
    struct Selected {
        int row = 0;
        QString path;
    };
    using Levels = std::array<uint32_t, 6>; // black and white points of red, green, blue

    // Backups are written into backupFolder (the temporary folder on the page).
    explicit CImageEdits(QString backupFolder);
    ~CImageEdits();
    CImageEdits(const CImageEdits&) = delete;
    CImageEdits& operator=(const CImageEdits&) = delete;

    // Backs up the selection, then turns each photo clockwise by angle (90, 180 or 270)
    // or gives it automatic levels. Returns how many photos were changed.
    int RotateSelection(const std::vector<Selected>& selection, int angle);
    int AutoLevelsSelection(const std::vector<Selected>& selection);

    // Copies every file of the selection that an edit may change (the photo and its side
    // file), dropping the previous backups first.
    void BackUpSelection(const std::vector<Selected>& selection);
    // Puts every backed-up file back as it was before the last edit, then drops the backups.
    // False when a file could not be restored (its backup is then kept).
    bool UndoLastEdit();
    // Deletes the backup copies.
    void DropBackups();
    bool HasBackups() const { return !m_backups.empty(); }
    // Later backups go into folder; the present ones are dropped.
    void SetBackupFolder(QString folder)
    {
        DropBackups();
        m_folder = std::move(folder);
    }

    // One photo, without backup; false leaves the photo and its side file as they were.
    static bool RotateImage(const QString& path, int angle);
    static bool AutoLevelsImage(const QString& path);
    // True when the file can be both read and written, as the edit buttons require.
    static bool CanEdit(const QString& path);
    static bool CanEdit(const QStringList& paths);

    // The Orientation value after turning a photo of orientation current clockwise by angle.
    static uint16_t NewOrientation(int angle, int current);
    // The picture levels are measured on: 32-bit, its longer side at most 480 pixels.
    static QImage LevelsSample(const imaging::Image& image);
    // The black and white points of each channel of the picture.
    static Levels AutoLevels(const QImage& picture);
    // Saves image (which this takes over) with the encoder of mimeType over target through
    // target + "_tmp"; false leaves target as it was.
    static bool SaveImageInPlace(const QString& target, std::unique_ptr<imaging::Image> image,
                                 const QString& mimeType);

private:
    // A backup: the copy, and the file it was copied from. An empty copy means the file
    // did not exist before the edit, so undo removes it.
    struct BackUpItem {
        QString backup;
        QString original;
    };
    void backUpFile(const QString& original, const QString& backup);

    QString m_folder;
    std::vector<BackUpItem> m_backups;
};
