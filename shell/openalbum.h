// COpenAlbum: the album manager page: the saved albums, to open one of them.
// For now the page shows its step and moves on through the wizard's own rules; its controls
// come with the page's own work.
#pragma once

#include "shell/basepage.h"

class COpenAlbum : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 1;

    explicit COpenAlbum(QWidget* parent = nullptr);

    bool OnSetActive() override;

protected:
    void PlaceControls() override {}
};
