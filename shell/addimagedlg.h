// CAddImageDlg: the image list page: the photos of the album.
// For now the page shows its step and moves on through the wizard's own rules; its controls
// come with the page's own work.
#pragma once

#include "shell/basepage.h"

class CAddImageDlg : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 3;

    explicit CAddImageDlg(QWidget* parent = nullptr);

    bool OnSetActive() override;

protected:
    void PlaceControls() override {}
};
