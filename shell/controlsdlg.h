// SPDX-License-Identifier: GPL-2.0-or-later
// CControlsDlg: the album properties page. The chosen template's parameters become a scrolling
// form, one row per parameter; the values are checked when the user goes forward and only then
// written back into the album, together with the two host settings.
#pragma once

#include <vector>

#include "sdk/gv_vector.h"
#include "sdk/gvparaminfo.h"
#include "shell/basepage.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;
class QScrollBar;
class QSlider;
class CColorBtn;
class CGVApp;
class Choosers;

class CControlsDlg : public CBasePage
{
    Q_OBJECT
public:
    static constexpr int PageIndex = 4;
    static constexpr int ControlIdBase = 5000; // control of a parameter: 5000 + its id
    static constexpr int ButtonIdBase = 2000;  // buttons are counted up from here
    static constexpr int MaxFieldText = 260;

    // One row of the form: the parameter it shows and the controls made for it.
    struct Row {
        int32_t param = -1; // position in the page's parameter list
        QLabel* caption = nullptr;
        QWidget* control = nullptr; // the control of id 5000 + parameter id
        QLineEdit* edit = nullptr;
        QComboBox* combo = nullptr;
        QSlider* slider = nullptr;
        CColorBtn* colour = nullptr;
        QLabel* sample = nullptr;
        QAbstractButton* button = nullptr;
        int buttonId = 0;
    };

    CControlsDlg(CGVApp& app, Choosers& choosers, QWidget* parent = nullptr);

    bool OnSetActive() override;
    int OnWizardNext() override;
    void StoreToAlbum() override;

    // Replaces the file, folder, colour and font choosers (tests script them).
    void SetChoosers(Choosers& choosers) { m_choosers = &choosers; }
    // Fetches the album's parameters and rebuilds the form when they differ from the page's.
    void Initialise();
    const gv_vector<GVParamInfo>& PageParameters() const { return m_params; }
    const std::vector<Row>& Rows() const { return m_rows; }
    // The row of the parameter with that internal name, or null.
    const Row* RowOf(const char* name) const;
    // How often the form has been built.
    int BuildCount() const { return m_builds; }
    QWidget& Frame() { return *m_frame; }
    QScrollBar& ScrollBar() { return *m_bar; }
    int ScrollPosition() const { return m_position; }
    // Moves the form by delta pixels, kept inside its range.
    void ScrollBy(int delta);
    // A control of the form took the focus: the form follows it by one line.
    void FollowFocus(QWidget* control);

protected:
    void PlaceControls() override;
    void wheelEvent(QWheelEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildForm();
    void addRow(int32_t index, int& top);
    void buttonClicked(const Row& row);
    void scrollTo(int position);
    QString fieldText(const Row* row, const GVParamInfo& param) const;
    // The row of each parameter by parameter index; null for parameters without a row.
    std::vector<const Row*> rowsByParam() const;
    // Stores the fields that pass the page's check into the album.
    void storeValidFields(const std::vector<const Row*>& rowOf);
    // The scroll bar and the form's place for the form's and the frame's heights now.
    void updateScrolling();
    void showFont(const Row& row);

    CGVApp& m_app;
    Choosers* m_choosers;
    gv_vector<GVParamInfo> m_params;
    bool m_fetched = false;
    std::vector<Row> m_rows;
    QWidget* m_frame;
    QWidget* m_form = nullptr;
    QScrollBar* m_bar;
    int m_position = 0;
    int m_range = 0;
    int m_builds = 0;
};
