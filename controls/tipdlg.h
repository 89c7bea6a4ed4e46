// SPDX-License-Identifier: GPL-2.0-or-later
// CTipDlg: the tip of the day. Shows one tip at a time from the shipped tips, steps to the
// next on request and remembers, in the settings section "Tip", where it stopped ("FilePos")
// and whether it is shown at start-up ("StartUp" 0 means it is).
#pragma once

#include <QByteArray>

#include "controls/mydlg.h"
#include "controls/tipfile.h"

class QLabel;
class CImageButton;
class Settings;

class CTipDlg : public CMyDlg
{
    Q_OBJECT
public:
    static constexpr int NextTipId = 1001;
    static constexpr int DoneId = 1;
    static constexpr int ShowTipId = 1118;
    static constexpr int TipTextId = 1005;

    // tips: the tips text; the shipped tips when none is given.
    explicit CTipDlg(Settings& settings, QWidget* parent = nullptr,
                     const QByteArray& tips = shippedTips());
    ~CTipDlg() override;

    // The tips compiled into the program.
    static QByteArray shippedTips();
    // Whether the tip dialog is shown when the program starts.
    static bool showAtStartUp(const Settings& settings);

    QString tipText() const { return m_tip; }
    bool showFlag() const;
    CImageButton& nextTipButton() { return *m_next; }
    CImageButton& doneButton() { return *m_done; }
    CImageButton& showTipButton() { return *m_show; }

public Q_SLOTS:
    void OnNextTip();
    void OnDone();
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildControls();
    void storeStartUp();
    void readTip();

    Settings& m_settings;
    TipFile m_file;
    QString m_tip;
    QLabel* m_text = nullptr;
    CImageButton* m_next = nullptr;
    CImageButton* m_done = nullptr;
    CImageButton* m_show = nullptr;
    bool m_initialShow = true;
};
