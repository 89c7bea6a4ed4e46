// SPDX-License-Identifier: GPL-2.0-or-later
// CTelmplateSel: the theme page. A tree of the installed plug-ins and their templates, the
// preview picture of the selected template, a button to the maker's themes, and a context
// menu on the tree to install and uninstall templates.
#pragma once

#include "shell/basepage.h"
#include "shell/themechoice.h"

class QAbstractButton;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class CGVApp;
class HelpCommands;

class CTelmplateSel : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 2;
    static constexpr int IconSide = 24;

    CTelmplateSel(CGVApp& app, const HelpCommands& help, QWidget* parent = nullptr);

    bool OnSetActive() override;
    bool OnKillActive() override;
    int OnWizardNext() override;
    int OnWizardBack() override;

    QTreeWidget& Tree() { return *m_tree; }
    QLabel& PreviewArea() { return *m_preview; }
    QAbstractButton& DownloadButton() { return *m_download; }
    // Selects the template item of a plug-in; false when the tree has none such.
    bool SelectTemplate(int32_t pluginIndex, int32_t templateId);
    // The tree's context-menu commands.
    void OnInstall();
    void OnUninstall();

protected:
    void OnInitDialog() override;
    void PlaceControls() override;

private:
    void fillTree();
    void selectionChanged();
    void showContextMenu(const QPoint& position);
    void itemDoubleClicked(QTreeWidgetItem* item);

    CGVApp& m_app;
    const HelpCommands& m_help;
    ThemeChoice m_choice;
    QTreeWidget* m_tree;
    QLabel* m_preview;
    QAbstractButton* m_download = nullptr;
    bool m_filling = false;
};
