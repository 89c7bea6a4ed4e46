#include "shell/controlsdlg.h"

#include "shell/mypropertysheet.h"

CControlsDlg::CControlsDlg(QWidget* parent) : CBasePage(PageIndex, parent) {}

bool CControlsDlg::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    return true;
}
