// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/wizardnavigator.h"

WizardPage* WizardNavigator::ActivePage() const
{
    if (m_active < 0 || m_active >= PageCount())
        return nullptr;
    return m_pages[static_cast<size_t>(m_active)];
}

bool WizardNavigator::SetActivePage(int index)
{
    if (m_locked || index < 0 || index >= PageCount())
        return false;
    WizardPage* current = ActivePage();
    if (current != nullptr && index != m_active && !current->OnKillActive())
        return false;
    const int previous = m_active;
    m_active = index;
    WizardPage* next = m_pages[static_cast<size_t>(index)];
    next->InitialiseOnce();
    if (!next->OnSetActive()) {
        // The new page refused: the old one is active again, as it was.
        m_active = previous;
        if (current != nullptr && previous != index)
            current->OnSetActive();
        return false;
    }
    if (m_changed)
        m_changed(index);
    return true;
}

bool WizardNavigator::Next()
{
    WizardPage* page = ActivePage();
    return !m_locked && page != nullptr && move(page->OnWizardNext(), 1);
}

bool WizardNavigator::Back()
{
    WizardPage* page = ActivePage();
    return !m_locked && page != nullptr && move(page->OnWizardBack(), -1);
}

bool WizardNavigator::Finish()
{
    WizardPage* page = ActivePage();
    return !m_locked && page != nullptr && page->OnKillActive() && page->OnWizardFinish();
}

bool WizardNavigator::move(int answer, int step)
{
    if (m_locked || answer == WizardPage::Stay)
        return false;
    const int target = answer == WizardPage::Default ? m_active + step : answer;
    return SetActivePage(target);
}
