// SPDX-License-Identifier: GPL-2.0-or-later
// CColorBtn: a swatch of one colour that opens the colour chooser when clicked.
#pragma once

#include <cstdint>

#include <QAbstractButton>

class Choosers;

class CColorBtn : public QAbstractButton
{
    Q_OBJECT
public:
    static constexpr uint32_t DisabledFill = 0x00C0C0C0; // RGB(192, 192, 192)

    explicit CColorBtn(QWidget* parent = nullptr);

    // COLORREF (0x00BBGGRR); white at start.
    uint32_t color() const { return m_color; }
    void setColor(uint32_t color);
    void setChoosers(Choosers* choosers) { m_choosers = choosers; }
    // Asks for a new colour as a click does; true when the user chose one.
    bool choose();

    QSize sizeHint() const override { return QSize(40, 20); }

Q_SIGNALS:
    void colorChanged(uint32_t color);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t m_color = 0x00FFFFFF;
    Choosers* m_choosers = nullptr;
};
