// CSaveAlbum: the generation page: where the album goes, and making it.
// For now the page shows its step and moves on through the wizard's own rules; its controls
// come with the page's own work.
#pragma once

#include "shell/basepage.h"

class CSaveAlbum : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 5;

    explicit CSaveAlbum(QWidget* parent = nullptr);

    bool OnSetActive() override;

protected:
    void PlaceControls() override {}
};
