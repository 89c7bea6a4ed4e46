// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/mainframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/commandtable.h"
#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "enhancer/ui/statustexts.h"
#include "enhancer/ui/timinglog.h"
#include "enhancer/ui/toolbaricons.h"

namespace
{
// The toolbar's buttons; 0 is a separator. The list of photos puts previous and next where
// the Open button is otherwise.
const int ListButtons[] = {ID_PREVIOUS_IMAGE, ID_NEXT_IMAGE, ID_FILE_SAVE, ID_EDIT_UNDO, 0,
                           ID_ZOOM_IN, ID_ZOOM_OUT, 0, ID_ENHANCE_COLORS, ID_RESIZE, ID_ROTATE,
                           ID_CROP_FREE, ID_SHARPEN, ID_RED_EYES, 0, ID_FILE_PRINT};
const int SingleButtons[] = {ID_FILE_OPEN, ID_FILE_SAVE, ID_EDIT_UNDO, 0, ID_ZOOM_IN,
                             ID_ZOOM_OUT, 0, ID_ENHANCE_COLORS, ID_RESIZE, ID_ROTATE,
                             ID_CROP_FREE, ID_SHARPEN, ID_RED_EYES, 0, ID_FILE_PRINT};
const int RotateItems[] = {ID_ROTATE_90CW, ID_ROTATE_90CCW, ID_ROTATE_180, ID_ROTATE_CUSTOM, 0,
                           ID_FLIP_HORIZONTAL, ID_FLIP_VERTICAL};
const int CropItems[] = {ID_CROP_FREE, ID_CROP_KEEP_PROPORTIONS, ID_CROP_3_2, ID_CROP_4_3};
} // namespace

CMainFrame::CMainFrame(CLumivexApp& app, Prompter& prompter, Choosers& choosers,
                       QWidget* parent)
    : QMainWindow(parent), m_app(app), m_prompter(prompter), m_choosers(choosers)
{
    setObjectName(QStringLiteral("LumivexMainFrame"));
    m_view = new CLumivexView(app.Document(), prompter, this);
    setCentralWidget(m_view);
    m_statusBar = new CStatusBarWithProgress(this);
    setStatusBar(m_statusBar);
    m_undoIcon = ToolbarIcons::Icon(ID_EDIT_UNDO, app.ProgramFolder());
    m_redoIcon = ToolbarIcons::Icon(ToolbarIcons::RedoIcon, app.ProgramFolder());
    CreateActions();
    CreateMenus();
    RebuildToolBar();
    ConnectDocument();
    UpdateCommands();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::Action(int id) const
{
    const auto found = m_actions.find(id);
    return found == m_actions.end() ? nullptr : found->second;
}

QToolButton* CMainFrame::ToolButton(int id) const
{
    const auto found = m_buttons.find(id);
    return found == m_buttons.end() ? nullptr : found->second;
}

void CMainFrame::CreateActions()
{
    for (const int id : CommandTable::Ids()) {
        const CommandInfo info = *CommandTable::Find(id);
        auto* action = new QAction(this);
        action->setText(info.menuText.isEmpty() ? info.tooltip : info.menuText);
        action->setToolTip(info.tooltip);
        action->setStatusTip(info.statusPrompt);
        action->setShortcuts(info.keys);
        action->setIcon(ToolbarIcons::Icon(id, m_app.ProgramFolder()));
        action->setIconVisibleInMenu(false);
        connect(action, &QAction::triggered, this, [this, id] { OnCommand(id); });
        addAction(action); // the keys work wherever the focus is in the window
        m_actions[id] = action;
    }
    Action(ID_VIEW_TOOLBAR)->setCheckable(true);
    Action(ID_VIEW_STATUS_BAR)->setCheckable(true);
    Action(ID_VIEW_STATUS_BAR)->setChecked(true);
}

void CMainFrame::CreateMenus()
{
    const auto add = [this](QMenu* menu, std::initializer_list<int> ids) {
        for (const int id : ids) {
            if (id == 0)
                menu->addSeparator();
            else
                menu->addAction(Action(id));
        }
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    add(file, {ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, 0, ID_FILE_PRINT,
               ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP, 0});
    m_recentMenu = file->addMenu(QStringLiteral("Recent &Files"));
    m_recentMenu->setAccessibleName(QStringLiteral("Recent Files"));
    connect(m_recentMenu, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    file->addSeparator();
    add(file, {ID_APP_EXIT});
    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
    add(edit, {ID_EDIT_UNDO, 0, ID_ENHANCE_COLORS, ID_RESIZE, ID_CROP_FREE,
               ID_CROP_KEEP_PROPORTIONS, ID_CROP_3_2, ID_CROP_4_3, ID_SHARPEN, ID_RED_EYES, 0,
               ID_ROTATE_90CW, ID_ROTATE_90CCW, ID_ROTATE_180, ID_ROTATE_CUSTOM,
               ID_FLIP_HORIZONTAL, ID_FLIP_VERTICAL});
    QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
    add(view, {ID_ZOOM_ACTUAL, ID_ZOOM_IN, ID_ZOOM_OUT, ID_ZOOM_FIT, 0, ID_VIEW_TOOLBAR,
               ID_VIEW_STATUS_BAR});
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    add(help, {ID_HELP_FINDER, 0, ID_APP_ABOUT});
    // The drop-down buttons' menus offer every item, as the Edit menu does.
    m_rotateMenu = new QMenu(QStringLiteral("Rotate"), this);
    m_cropMenu = new QMenu(QStringLiteral("Crop"), this);
    for (const int id : RotateItems)
        id == 0 ? (void)m_rotateMenu->addSeparator() : m_rotateMenu->addAction(Action(id));
    for (const int id : CropItems)
        m_cropMenu->addAction(Action(id));
}

void CMainFrame::RebuildToolBar()
{
    const bool listMode = m_app.Document().ListMode();
    if (m_toolBar && listMode == m_toolBarListMode)
        return;
    const bool visible = !m_toolBar || m_toolBar->isVisible();
    delete m_toolBar;
    m_buttons.clear();
    m_toolBar = new QToolBar(QStringLiteral("Toolbar"), this);
    m_toolBar->setObjectName(QStringLiteral("LumivexToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setIconSize(QSize(ToolbarIcons::Size, ToolbarIcons::Size));
    m_toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBar(Qt::TopToolBarArea, m_toolBar);
    m_toolBarListMode = listMode;
    const auto addButtons = [this](const auto& ids) {
        for (const int id : ids) {
            if (id == 0)
                m_toolBar->addSeparator();
            else if (id == ID_ROTATE)
                m_buttons[id] = AddDropDown(id, m_rotateMenu, true);
            else if (id == ID_CROP_FREE)
                m_buttons[id] = AddDropDown(id, m_cropMenu, false);
            else
            {
                m_toolBar->addAction(Action(id));
                m_buttons[id] = qobject_cast<QToolButton*>(m_toolBar->widgetForAction(Action(id)));
            }
        }
    };
    if (listMode)
        addButtons(ListButtons);
    else
        addButtons(SingleButtons);
    for (auto& [id, button] : m_buttons)
        button->setAccessibleName(Action(id)->toolTip());
    m_toolBar->setVisible(visible);
    Action(ID_VIEW_TOOLBAR)->setChecked(visible);
    // Every button stays reachable: the window is never narrower than its toolbar.
    setMinimumWidth(m_toolBar->sizeHint().width());
    ShowUndoButton(m_undoShown);
}

QToolButton* CMainFrame::AddDropDown(int id, QMenu* menu, bool buttonShowsMenu)
{
    auto* button = new QToolButton(m_toolBar);
    button->setDefaultAction(Action(id));
    button->setMenu(menu);
    // Rotate has no action of its own: its button opens the menu as its arrow does. Crop
    // starts a free crop and keeps the ratios under the arrow.
    button->setPopupMode(buttonShowsMenu ? QToolButton::InstantPopup
                                         : QToolButton::MenuButtonPopup);
    m_toolBar->addWidget(button);
    return button;
}

void CMainFrame::ConnectDocument()
{
    CLumivexDoc& doc = m_app.Document();
    // The view keeps itself up to date; the frame follows with its title, panes and buttons.
    const auto viewUpdate = doc.listeners.updateViews;
    doc.listeners.updateViews = [this, viewUpdate](int hint) {
        if (viewUpdate)
            viewUpdate(hint);
        UpdateCommands();
    };
    const auto viewInitial = doc.listeners.initialUpdate;
    doc.listeners.initialUpdate = [this, viewInitial] {
        if (viewInitial)
            viewInitial();
        AfterNewImage();
        TimingLog::End(QStringLiteral("open"), m_view);
    };
    doc.listeners.undoButton = [this](bool undo) { ShowUndoButton(undo); };
    doc.listeners.imageSaved = [this] {
        m_app.NotifyImageSaved();
        UpdateCommands();
    };
    connect(m_view, &CLumivexView::statusChanged, this, [this] { UpdateCommands(); });
    connect(m_view, &CLumivexView::progressShown, m_statusBar, [this](bool shown) {
        shown ? m_statusBar->ShowProgress() : m_statusBar->HideProgress();
    });
    connect(m_view, &CLumivexView::progressChanged, m_statusBar,
            &CStatusBarWithProgress::SetProgress);
}

void CMainFrame::AfterNewImage()
{
    RebuildToolBar();
    UpdateCommands();
}

CommandState CMainFrame::State() const
{
    const CLumivexDoc& doc = m_app.Document();
    CommandState state;
    state.image = doc.Current().HasPixels();
    state.undoOrRedo = doc.UndoAvailable() || doc.RedoAvailable();
    state.zoom = m_view->Zoom().Zoom();
    state.minimumZoom = m_view->Zoom().MinimumZoom();
    state.canGoPrevious = doc.CanGoPrevious();
    state.canGoNext = doc.CanGoNext();
    return state;
}

void CMainFrame::UpdateCommands()
{
    const CommandState state = State();
    for (auto& [id, action] : m_actions)
        action->setEnabled(CommandTable::IsEnabled(id, state));
    const CLumivexDoc& doc = m_app.Document();
    Action(ID_EDIT_UNDO)->setText(doc.UndoMenuText());
    UpdateTitle();
    UpdateStatusBar();
}

void CMainFrame::ShowUndoButton(bool undo)
{
    m_undoShown = undo;
    QAction* action = Action(ID_EDIT_UNDO);
    action->setIcon(undo ? m_undoIcon : m_redoIcon);
    action->setToolTip(CommandTable::UndoTooltip(undo));
    if (QToolButton* button = ToolButton(ID_EDIT_UNDO))
        button->setAccessibleName(action->toolTip());
}

void CMainFrame::UpdateTitle()
{
    setWindowTitle(m_app.Document().Title() + QStringLiteral(" - Lumivex"));
}

void CMainFrame::UpdateStatusBar()
{
    const QStringList texts = StatusTexts(m_app.Document(), m_view->Zoom().Zoom());
    for (int pane = 0; pane < CStatusBarWithProgress::PaneCount; ++pane)
        m_statusBar->SetPaneText(pane, texts.value(pane));
}

void CMainFrame::FillRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_app.RecentFiles();
    int number = 1;
    for (const QString& path : files) {
        QAction* item = m_recentMenu->addAction(
            QStringLiteral("&%1 %2").arg(number++).arg(QFileInfo(path).fileName()));
        item->setStatusTip(path);
        item->setToolTip(path);
        connect(item, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    if (files.isEmpty())
        m_recentMenu->addAction(QStringLiteral("(none)"))->setEnabled(false);
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    // The view has already stopped a running edit and dropped its result.
    if (!m_app.Document().SaveModified(m_prompter, m_choosers)) {
        event->ignore();
        return;
    }
    event->accept();
}
