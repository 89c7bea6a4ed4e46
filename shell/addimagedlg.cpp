#include "shell/addimagedlg.h"

#include "shell/mypropertysheet.h"

CAddImageDlg::CAddImageDlg(QWidget* parent) : CBasePage(PageIndex, parent) {}

bool CAddImageDlg::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    return true;
}
