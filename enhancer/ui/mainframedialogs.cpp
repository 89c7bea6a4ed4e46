// SPDX-License-Identifier: GPL-2.0-or-later
// CMainFrame's edit dialogs: each works on the current image; OK applies one document edit
// (undone as a whole), Cancel applies none. Resize and rotation only choose their parameters:
// the view computes the new image as a long edit with progress and Esc.
#include <QDialog>

#include "enhancer/affinetransform.h"
#include "enhancer/sharpenoperation.h"
#include "enhancer/ui/imageenhance.h"
#include "enhancer/ui/lumivexapp.h"
#include "enhancer/ui/lumivexcommands.h"
#include "enhancer/ui/lumivexview.h"
#include "enhancer/ui/mainframe.h"
#include "enhancer/ui/redeyedlg.h"
#include "enhancer/ui/resizedlg.h"
#include "enhancer/ui/rotatepp.h"
#include "enhancer/ui/sharpendlg.h"
#include "enhancer/ui/statusbarwithprogress.h"
#include "enhancer/ui/timinglog.h"

namespace
{

// Runs a dialog that computes its result itself and hands the result to the document.
template <class Dialog>
bool applyDialog(Dialog& dialog, CLumivexDoc& doc)
{
    if (dialog.exec() != QDialog::Accepted)
        return false;
    BITMAPINFOHEADER header{};
    uint8_t* pixels = nullptr;
    return dialog.TakeResult(header, pixels) && doc.ApplyResult(header, pixels);
}

} // namespace

bool CMainFrame::RunEditDialog(int id)
{
    CLumivexDoc& doc = m_app.Document();
    const ImageRecord& image = doc.Current();
    switch (id) {
    case ID_ENHANCE_COLORS: {
        CImageEnhance dialog(image, this);
        if (applyDialog(dialog, doc))
            TimingLog::End(QStringLiteral("enhance OK"), m_view);
        return true;
    }
    case ID_RED_EYES: {
        CRedEyeDlg dialog(image, m_choosers, this);
        applyDialog(dialog, doc);
        return true;
    }
    case ID_SHARPEN: RunSharpen(); return true;
    case ID_RESIZE: {
        CResizeDlg dialog(image, m_prompter, m_app.ProgramFolder(), this);
        if (dialog.exec() == QDialog::Accepted)
            m_view->RunTransform(dialog.Parameters().Matrix());
        return true;
    }
    case ID_ROTATE_CUSTOM: {
        CRotatePP dialog(image, this);
        if (dialog.exec() != QDialog::Accepted)
            return true;
        const TurnSettings turn = dialog.Parameters();
        // No turn and no flip would only add an undo step that changes nothing.
        if (turn.angle % 360 != 0 || turn.flipHorizontal || turn.flipVertical)
            m_view->RunTransform(RotationMatrix(turn.angle, turn.flipHorizontal,
                                                turn.flipVertical));
        return true;
    }
    default: return false;
    }
}

void CMainFrame::RunSharpen()
{
    CLumivexDoc& doc = m_app.Document();
    CSharpenOperation operation;
    CSharpenDlg dialog(doc.Current(), operation, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The final pass shows the bar at its start; it is not cancelled.
    m_statusBar->SetProgress(0);
    m_statusBar->ShowProgress();
    BITMAPINFOHEADER header{};
    uint8_t* pixels = nullptr;
    if (dialog.TakeResult(header, pixels))
        doc.ApplyResult(header, pixels);
    m_statusBar->HideProgress();
}
