#include "shell/finalpage.h"

#include "shell/mypropertysheet.h"

CFinalPage::CFinalPage(QWidget* parent) : CBasePage(PageIndex, parent) {}

bool CFinalPage::OnSetActive()
{
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_FINISH);
    return true;
}
