// SPDX-License-Identifier: GPL-2.0-or-later
// CMyScrollBar: holds a horizontal and a vertical scroll bar and reports their scrolling to
// its parent as if it came from the controls 1041 (horizontal) and 1044 (vertical).
#pragma once

#include <QWidget>

class QScrollBar;

class CMyScrollBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int HorizontalId = 1041;
    static constexpr int VerticalId = 1044;

    explicit CMyScrollBar(QWidget* parent = nullptr);
    QScrollBar& horizontal() { return *m_horizontal; }
    QScrollBar& vertical() { return *m_vertical; }

Q_SIGNALS:
    void horizontalScroll(int controlId, int value);
    void verticalScroll(int controlId, int value);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QScrollBar* m_horizontal;
    QScrollBar* m_vertical;
};
