// SPDX-License-Identifier: GPL-2.0-or-later
// CMaskStatic: a caption that hands the keyboard focus on to the control it labels, so that
// tabbing onto the caption of a masked field lands in the field.
#pragma once

#include <QLabel>
#include <QPointer>

class CMaskStatic : public QLabel
{
    Q_OBJECT
public:
    explicit CMaskStatic(QWidget* parent = nullptr) : QLabel(parent) {}
    void setFocusBuddy(QWidget* buddy) { m_buddy = buddy; }

protected:
    void focusInEvent(QFocusEvent* event) override;

private:
    QPointer<QWidget> m_buddy;
};
