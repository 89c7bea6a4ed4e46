// SPDX-License-Identifier: GPL-2.0-or-later
// CImageButton: a push button or check button drawn entirely from a skin picture whose
// states lie side by side in one strip. The button takes the size of one frame; hovering,
// pressing, the check state and disabling pick the frame (see buttonframe.h). Its tooltip is
// the string-table text whose id is the button's control id.
#pragma once

#include <cstdint>

#include <QAbstractButton>
#include <QImage>

#include "controls/buttonframe.h"

class CImageButton : public QAbstractButton
{
    Q_OBJECT
public:
    // controlId names the button to its parent (focused()) and picks its tooltip text.
    explicit CImageButton(QWidget* parent = nullptr, int controlId = 0);
    // As above, then SetImage(pictureId, states, transparent).
    CImageButton(int pictureId, int states, QWidget* parent = nullptr, int controlId = 0,
                 bool transparent = false);
    // As above, then SetImage(strip, states, transparent).
    CImageButton(const QImage& strip, int states, QWidget* parent = nullptr, int controlId = 0,
                 bool transparent = false);

    // Loads the skin picture and sizes the button to one frame. Does nothing when a picture
    // is already set; a picture that cannot be loaded leaves the frame size 0, and the button
    // then shows its text() as a plain button (set the text first). True when the button has
    // a picture afterwards.
    bool SetImage(int pictureId, int states, bool transparent = false, int extraFrames = 0);
    bool SetImage(const QImage& strip, int states, bool transparent = false, int extraFrames = 0);
    // A two-state strip compiled into the program (a Qt resource path such as ":/x.png").
    bool SetImageFromResource(const QString& resource, bool transparent = false);
    bool hasImage() const { return !m_frame.isEmpty(); }

    // Check state for check-style use (0 off, else on). A check-style button toggles its
    // check when clicked and does not react to hovering.
    void SetCheck(int check);
    int GetCheck() const { return m_check; }
    void setCheckStyle(bool on);
    void EnableHover(bool enable);
    bool hoverEnabled() const { return m_hoverEnabled; }
    // The colour a disabled button without a disabled frame fades its greyed picture into
    // (COLORREF); the skin background colour by default.
    void setDisabledColor(int32_t colour) { m_disabledColor = colour; }
    // Only this part of the frame takes clicks (the sheet's wizard buttons have a margin);
    // an empty rectangle means the whole button.
    void setClickableRect(const QRect& rect) { m_clickable = rect; }

    int controlId() const { return m_controlId; }
    QSize frameSize() const { return m_frame; }
    ButtonLook look() const;
    // The frame painted now, or NoFrame for a flat disabled area.
    int currentFrame() const { return selectFrame(look()); }
    bool isHovered() const { return m_hovered; }

    QSize sizeHint() const override;

Q_SIGNALS:
    // Emitted each time the button paints itself with the input focus, so that a scrolling
    // parent can bring it into view. It comes from inside the paint: a receiver that moves
    // widgets should connect queued. The parent also receives a ChildFocusedEvent.
    void focused(int controlId, CImageButton* button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool hitButton(const QPoint& pos) const override;

private:
    void installTooltip();
    void setHovered(bool hovered);
    void refresh();
    void paintPlain();

    QImage m_strip;
    QSize m_frame;
    QRect m_clickable;
    int m_states = 0;
    int m_extraFrames = 0;
    int m_controlId = 0;
    int m_check = 0;
    int32_t m_disabledColor;
    bool m_transparent = false;
    bool m_hovered = false;
    bool m_hoverEnabled = true;
    bool m_tooltipInstalled = false;
};
