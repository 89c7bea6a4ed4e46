// SPDX-License-Identifier: GPL-2.0-or-later
// WizardPage: what the wizard asks of each of its pages as the user moves through it. Next
// and Back answer where to go: a page index, Stay, or Default for one page on or back.
// A page may also jump by making another page active itself and answering Stay.
#pragma once

class WizardPage
{
public:
    static constexpr int Stay = -1;
    static constexpr int Default = -2;

    virtual ~WizardPage() = default;

    // Called every time before the page is made active; a page builds what it needs once,
    // the first time, so that it never shows half made.
    virtual void InitialiseOnce() {}

    // The page becomes the active one; false refuses (the wizard stays where it was).
    virtual bool OnSetActive() { return true; }
    // The page is about to be left; false keeps it active.
    virtual bool OnKillActive() { return true; }
    virtual int OnWizardNext() { return Default; }
    virtual int OnWizardBack() { return Default; }
    // Finish was pressed; false keeps the wizard open.
    virtual bool OnWizardFinish() { return true; }
};
