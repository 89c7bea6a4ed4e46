// SPDX-License-Identifier: GPL-2.0-or-later
// CRotateArrow: the rotation dialog's dial. A round face with ticks every 15 degrees and a
// needle pointing at the angle it edits; clicking or dragging points the needle (0 up, 90
// right), the arrow keys turn it by one degree and Page Up/Down by fifteen.
#pragma once

#include <QWidget>

class CRotateArrow : public QWidget
{
    Q_OBJECT
public:
    explicit CRotateArrow(QWidget* parent);

    // The angle the dial shows and edits (owned by the dialog); null shows no needle.
    void Bind(int* angle);
    int* Bound() const { return m_angle; }

    QSize sizeHint() const override { return {96, 96}; }
    QSize minimumSizeHint() const override { return {64, 64}; }

signals:
    // The user pointed the dial at a new angle.
    void angleChanged(int angle);
    // The user let go of the dial.
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void PointAt(const QPoint& point);
    void SetAngle(int angle);

    int* m_angle = nullptr;
    bool m_dragging = false;
};
