// SPDX-License-Identifier: GPL-2.0-or-later
// CAboutDlg: the about box: the product, its version and legal notice, a link to the maker's
// web site and a button to the online support.
#pragma once

#include <functional>

#include <QDialog>

class QAbstractButton;
class QLabel;
class Skin;

class CAboutDlg : public QDialog
{
    Q_OBJECT
public:
    // support runs when the support button is pressed (as the help menu's online support).
    CAboutDlg(Skin& skin, std::function<void()> support, QWidget* parent = nullptr);

    QLabel& Link() { return *m_link; }
    QAbstractButton& SupportButton() { return *m_support; }
    QAbstractButton& DoneButton() { return *m_done; }

private:
    QAbstractButton* makeButton(Skin& skin, int pictureId, int states, int textId, int id);

    QLabel* m_link;
    QAbstractButton* m_support;
    QAbstractButton* m_done;
};
