// SPDX-License-Identifier: GPL-2.0-or-later
// CMyControlsContainer: a plain child window that holds a group of controls (the properties
// page's scrolling parameter area) and passes their commands, key releases and focus reports
// up to the page.
#pragma once

#include <QWidget>

class CMyControlsContainer : public QWidget
{
    Q_OBJECT
public:
    explicit CMyControlsContainer(QWidget* parent = nullptr);

protected:
    bool event(QEvent* event) override;
};
