#include "shell/openalbum.h"

#include "shell/mypropertysheet.h"

COpenAlbum::COpenAlbum(QWidget* parent) : CBasePage(PageIndex, parent) {}

bool COpenAlbum::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    return true;
}
