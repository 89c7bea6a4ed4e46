// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumProp: the read-only properties of one saved album, as the album manager knows them.
#pragma once

#include "album/albumsummary.h"
#include "controls/mydlg.h"

class QAbstractButton;
class QGridLayout;
class Skin;

class CAlbumProp : public CMyDlg
{
    Q_OBJECT
public:
    CAlbumProp(Skin& skin, const AlbumSummary& summary, QWidget* parent = nullptr);

    // What a caption shows for value: the value, or "N/A" when it is empty.
    static QString Shown(const QString& value);
    QAbstractButton& DoneButton() { return *m_done; }

private:
    void addValue(QGridLayout& grid, int textId, const QString& value);
    void addEdit(QGridLayout& grid, int textId, const QString& value);

    QAbstractButton* m_done;
};
