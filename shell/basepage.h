// SPDX-License-Identifier: GPL-2.0-or-later
// CBasePage: the base of every wizard page. A page is at least 593 x 496 and grows with the
// wizard's window, paints no background of its own (the sheet's step picture shows through
// it) and takes its keyboard shortcuts from the table of its page index, active only while
// the page is shown.
#pragma once

#include <QWidget>

#include "shell/wizardpage.h"

class CMyPropertySheet;

class CBasePage : public QWidget, public WizardPage
{
    Q_OBJECT
public:
    static constexpr int Width = 593;
    static constexpr int Height = 496;

    explicit CBasePage(int pageIndex, QWidget* parent = nullptr);

    int PageIndex() const { return m_pageIndex; }
    // The sheet the page belongs to; set when the sheet adds the page.
    void SetSheet(CMyPropertySheet* sheet) { m_sheet = sheet; }
    CMyPropertySheet* Sheet() const { return m_sheet; }

    // Runs once, before the page is first shown: builds what needs the sheet, then places
    // the controls.
    void InitialiseOnce() override;
    // Installs the shortcuts of accelerator table tableId on the page.
    void InstallAccelerators(int tableId);
    // A command of the page's shortcuts (the table's command number); false when unknown.
    virtual bool OnCommand(int command);
    // Writes what the page holds and the album does not know yet (the page writes it on Next
    // and Back) into the album, where it is valid, so that closing the wizard loses nothing.
    virtual void StoreToAlbum() {}

protected:
    virtual void OnInitDialog() {}
    // Moves the page's controls to their places, at the smallest size as designed, in a
    // larger page grown or moved by Extra(); runs again whenever the page is resized.
    virtual void PlaceControls() = 0;
    // How much wider and taller the page is than its smallest size.
    QSize Extra() const;

    void resizeEvent(QResizeEvent* event) override;

private:
    int m_pageIndex;
    CMyPropertySheet* m_sheet = nullptr;
    bool m_initialised = false;
};
