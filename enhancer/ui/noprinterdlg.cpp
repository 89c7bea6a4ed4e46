// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/noprinterdlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/hyperlink.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/imageprint.h"

CNoPrinterDlg::CNoPrinterDlg(QWidget* parent)
    : QDialog(parent), m_link(new CHyperLink(this)),
      m_dontShow(new QCheckBox(loadLumivexString(IDS_LX_NOTE_DONT_SHOW), this))
{
    setWindowTitle(loadLumivexString(IDS_LX_NOTE_TITLE));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(loadLumivexString(IDS_LX_NOTE_RECOMMEND), this));
    auto* line = new QHBoxLayout;
    line->setSpacing(0);
    line->addWidget(new QLabel(loadLumivexString(IDS_LX_NOTE_TO_USE), this));
    m_link->setText(loadLumivexString(IDS_LX_NOTE_LINK));
    m_link->SetURL(loadLumivexString(IDS_LX_QUINDLE_PAGE));
    m_link->setAccessibleName(m_link->text());
    line->addWidget(m_link);
    line->addStretch(1);
    layout->addLayout(line);
    layout->addSpacing(8);
    m_dontShow->setAccessibleName(m_dontShow->text());
    layout->addWidget(m_dontShow);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setAccessibleName(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CNoPrinterDlg::accept()
{
    ImagePrint::SetShowNote(!m_dontShow->isChecked());
    QDialog::accept();
}
