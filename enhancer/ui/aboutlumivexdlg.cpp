// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/aboutlumivexdlg.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "enhancer/lumivexstrings.h"

CAboutLumivexDlg::CAboutLumivexDlg(Prompter& prompter, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(loadLumivexString(IDS_LX_ABOUT_TITLE));
    auto* icon = new QLabel(this);
    icon->setPixmap(QApplication::windowIcon().pixmap(48, 48));
    icon->setAccessibleName(QStringLiteral("Lumivex icon"));
    auto* version = new QLabel(loadLumivexString(IDS_LX_ABOUT_VERSION), this);
    version->setAccessibleName(version->text());
    m_link = new CHyperLink(this);
    m_link->setText(loadLumivexString(IDS_LX_MAKER_LINK));
    m_link->SetURL(loadLumivexString(IDS_LX_MAKER_HOME));
    m_link->setPrompter(&prompter);
    m_link->setAccessibleName(m_link->text());
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    m_ok->setAccessibleName(QStringLiteral("OK"));
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setHorizontalSpacing(16);
    layout->addWidget(icon, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(m_link, 1, 1);
    layout->addWidget(m_ok, 0, 2, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
