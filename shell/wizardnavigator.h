// SPDX-License-Identifier: GPL-2.0-or-later
// WizardNavigator: which page of the wizard is active and how Next and Back move between the
// pages. It knows the pages only through their WizardPage protocol, so the sheet's rules run
// the same with windows and without.
#pragma once

#include <functional>
#include <vector>

#include "shell/wizardpage.h"

class WizardNavigator
{
public:
    // Told after another page became the active one.
    using PageChanged = std::function<void(int index)>;

    void AddPage(WizardPage& page) { m_pages.push_back(&page); }
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    int ActiveIndex() const { return m_active; }
    WizardPage* ActivePage() const;
    void SetPageChanged(PageChanged changed) { m_changed = std::move(changed); }

    // Every change of page goes through here (Next, Back, a page's own jump): the active page
    // must let go, the new one is initialised if it never was, then it must accept. False
    // when the index is outside the wizard or either page refuses.
    bool SetActivePage(int index);
    // Next and Back as the buttons run them: asks the active page, then moves as it answers.
    // False when the wizard stayed on the page it was on.
    bool Next();
    bool Back();
    // Finish: true when the active page lets the wizard end.
    bool Finish();
    // While locked (a generation runs) the wizard stays on its page whatever is asked.
    void SetLocked(bool locked) { m_locked = locked; }
    bool IsLocked() const { return m_locked; }

private:
    bool move(int answer, int step);

    std::vector<WizardPage*> m_pages;
    int m_active = -1;
    bool m_locked = false;
    PageChanged m_changed;
};
