// CFinalPage: the final page: publishing the album, then a new one or the end.
// For now the page shows its step and moves on through the wizard's own rules; its controls
// come with the page's own work.
#pragma once

#include "shell/basepage.h"

class CFinalPage : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 6;

    explicit CFinalPage(QWidget* parent = nullptr);

    bool OnSetActive() override;

protected:
    void PlaceControls() override {}
};
