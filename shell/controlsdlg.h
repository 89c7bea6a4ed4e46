// CControlsDlg: the album properties page: the values of the template's parameters.
// For now the page shows its step and moves on through the wizard's own rules; its controls
// come with the page's own work.
#pragma once

#include "shell/basepage.h"

class CControlsDlg : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 4;

    explicit CControlsDlg(QWidget* parent = nullptr);

    bool OnSetActive() override;

protected:
    void PlaceControls() override {}
};
