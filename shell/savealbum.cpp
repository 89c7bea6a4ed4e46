#include "shell/savealbum.h"

#include "shell/mypropertysheet.h"

CSaveAlbum::CSaveAlbum(QWidget* parent) : CBasePage(PageIndex, parent) {}

bool CSaveAlbum::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    return true;
}
