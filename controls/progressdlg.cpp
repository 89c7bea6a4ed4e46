// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/progressdlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/myprogressctl.h"
#include "controls/skinpicture.h"
#include "platform/stringtable.h"

CProgressDlg::CProgressDlg(const QImage& cancelPicture, int32_t background, QWidget* parent)
    : QDialog(parent), m_status(new QLabel(this)), m_bar(new CMyProgressCtl(this)),
      m_cancel(new QPushButton(this))
{
    setWindowTitle(loadString(IDS_GENERATING_ALBUM));
    setModal(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromColorRef(background));
    setPalette(colours);
    setAutoFillBackground(true);

    m_bar->SetRange(0, 100);
    m_bar->SetBkColor(background);
    // The percentage lies over the bar and over the background alike: black on the orange
    // bar and a light background, white on the green bar and a dark one.
    const bool dark = colorFromColorRef(background).lightness() < 128;
    m_bar->SetStartColor(dark ? DarkBarColor : BarColor);
    m_bar->SetEndColor(dark ? DarkBarColor : BarColor);
    m_bar->SetTextColor(dark ? 0xFFFFFF : 0);
    m_bar->SetShowPercent(true);
    m_bar->SetPos(0);
    m_bar->setMinimumWidth(300);
    m_status->setText(loadString(IDS_PROGRESS_STARTING));
    applySkinPicture(*m_cancel, cancelPicture, 2, loadString(IDS_CANCEL));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, [this] { reject(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_status);
    layout->addWidget(m_bar);
    layout->addLayout(buttons);
}

CProgressDlg::~CProgressDlg() = default;

void CProgressDlg::setTitle(const QString& title)
{
    setWindowTitle(title);
}

void CProgressDlg::setPosition(int percent)
{
    m_bar->SetPos(percent);
}

void CProgressDlg::setText(const QString& text)
{
    m_status->setText(text);
}

bool CProgressDlg::pump()
{
    // Everything waiting is handled: paints, the Cancel button, Esc.
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return m_cancelled;
}

QString CProgressDlg::StatusText() const
{
    return m_status->text();
}

void CProgressDlg::reject()
{
    m_cancelled = true;
    QDialog::reject(); // hides the window; its owner destroys it when the operation ends
}
