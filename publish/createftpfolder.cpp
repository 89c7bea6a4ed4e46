// SPDX-License-Identifier: GPL-2.0-or-later
#include "publish/createftpfolder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/myprogressctl.h"
#include "controls/skinhooks.h"
#include "controls/skinpicture.h"
#include "platform/stringtable.h"

namespace
{

constexpr int EnterPicture = 260;  // "ftpenter.gif"
constexpr int OkPicture = 261;     // "dlgok.gif", two states
constexpr int CancelPicture = 262; // "dlgcancel.gif", two states

} // namespace

CCreateFTPFolder::CCreateFTPFolder(QWidget* parent)
    : QDialog(parent), m_prompt(new QLabel(loadString(IDS_ENTER_FTP_FOLDER), this)),
      m_edit(new QLineEdit(this)), m_ok(new QPushButton(this)), m_cancel(new QPushButton(this))
{
    setWindowTitle(loadString(IDS_CREATE_FTP_FOLDER_TITLE));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromColorRef(SkinHooks::colour(0)));
    setPalette(colours);
    setAutoFillBackground(true);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap::fromImage(SkinHooks::picture(EnterPicture)));
    m_prompt->setBuddy(m_edit);
    m_edit->setAccessibleName(loadString(IDS_NAME_FTP_FOLDER));
    applySkinPicture(*m_ok, SkinHooks::picture(OkPicture), 2, loadString(IDS_OK));
    applySkinPicture(*m_cancel, SkinHooks::picture(CancelPicture), 2, loadString(IDS_CANCEL));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* question = new QHBoxLayout;
    question->addWidget(picture);
    question->addWidget(m_prompt, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(question);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    m_edit->setFocus();
}

void CCreateFTPFolder::accept()
{
    m_name = m_edit->text();
    QDialog::accept();
}
