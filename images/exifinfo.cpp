// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/exifinfo.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "platform/settings.h"
#include "platform/stringtable.h"

using namespace exiffields;

namespace
{

QCheckBox* toggle(int id, QWidget* parent)
{
    auto* box = new QCheckBox(parent);
    box->setObjectName(QString::number(id));
    box->setToolTip(loadString(id));
    return box;
}

QPushButton* allButton(int textId, int id, QWidget* parent)
{
    auto* button = new QPushButton(loadString(textId), parent);
    button->setObjectName(QString::number(id));
    button->setToolTip(loadString(id));
    return button;
}

} // namespace

CExifInfo::CExifInfo(const Texts& captions, QWidget* parent) : CMyDlg(parent)
{
    setWindowTitle(loadString(IDS_EXIF_TITLE));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    layout->addLayout(grid);
    buildRows(grid);
    buildAllButtons(grid, RowCount + 1);
    buildOptions(layout);
    for (int row = 0; row < RowCount; ++row)
        m_captions[row]->setText(captions[row]);
    Choice shown = defaultChoice();
    loadToggles(Settings(), shown);
    showChoice(shown);
}

void CExifInfo::buildRows(QGridLayout* grid)
{
    grid->addWidget(new QLabel(loadString(IDS_EXIF_DESCRIPTION_COLUMN), this), 0, 1);
    grid->addWidget(new QLabel(loadString(IDS_EXIF_TITLE_COLUMN), this), 0, 2);
    for (int row = 0; row < RowCount; ++row) {
        const RowInfo& info = rowInfo(row);
        m_captions[row] = new QLineEdit(this);
        m_captions[row]->setObjectName(QString::number(info.captionBox));
        m_toDescription[row] = toggle(info.descriptionToggle, this);
        m_toTitle[row] = toggle(info.titleToggle, this);
        grid->addWidget(m_captions[row], row + 1, 0);
        grid->addWidget(m_toDescription[row], row + 1, 1, Qt::AlignHCenter);
        grid->addWidget(m_toTitle[row], row + 1, 2, Qt::AlignHCenter);
    }
}

void CExifInfo::buildAllButtons(QGridLayout* grid, int row)
{
    const struct {
        int textId, id, column;
        bool description, checked;
    } buttons[] = {
        {IDS_EXIF_CHECK_ALL, 1490, 1, true, true},
        {IDS_EXIF_CLEAR_ALL, 1491, 1, true, false},
        {IDS_EXIF_CHECK_ALL, 1492, 2, false, true},
        {IDS_EXIF_CLEAR_ALL, 1493, 2, false, false},
    };
    for (const auto& b : buttons) {
        QPushButton* button = allButton(b.textId, b.id, this);
        grid->addWidget(button, row + (b.checked ? 0 : 1), b.column);
        connect(button, &QPushButton::clicked, this,
                [this, b] { setColumn(b.description, b.checked); });
    }
}

void CExifInfo::buildOptions(QVBoxLayout* layout)
{
    m_add = new QRadioButton(loadString(IDS_EXIF_ADD), this);
    m_add->setObjectName(QString::number(AddId));
    m_add->setToolTip(loadString(AddId));
    m_replace = new QRadioButton(loadString(IDS_EXIF_REPLACE), this);
    m_replace->setObjectName(QString::number(ReplaceId));
    m_replace->setToolTip(loadString(ReplaceId));
    m_applyToAll = toggle(ApplyToAllId, this);
    m_applyToAll->setText(loadString(IDS_EXIF_APPLY_TO_ALL));
    layout->addWidget(m_add);
    layout->addWidget(m_replace);
    layout->addWidget(m_applyToAll);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(loadString(IDS_OK));
    box->button(QDialogButtonBox::Cancel)->setText(loadString(IDS_CANCEL));
    connect(box, &QDialogButtonBox::accepted, this, &CExifInfo::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CExifInfo::reject);
    layout->addWidget(box);
}

void CExifInfo::showChoice(const Choice& choice)
{
    for (int row = 0; row < RowCount; ++row) {
        m_toDescription[row]->setChecked(choice.toDescription[row]);
        m_toTitle[row]->setChecked(choice.toTitle[row]);
    }
    m_replace->setChecked(choice.replace);
    m_add->setChecked(!choice.replace);
    m_applyToAll->setChecked(choice.applyToAll);
}

void CExifInfo::setColumn(bool description, bool checked)
{
    for (QCheckBox* box : description ? m_toDescription : m_toTitle)
        box->setChecked(checked);
}

Texts CExifInfo::captions() const
{
    Texts texts;
    for (int row = 0; row < RowCount; ++row)
        texts[row] = m_captions[row]->text();
    return texts;
}

Choice CExifInfo::choice() const
{
    Choice result;
    result.captions = captions();
    for (int row = 0; row < RowCount; ++row) {
        result.toDescription[row] = m_toDescription[row]->isChecked();
        result.toTitle[row] = m_toTitle[row]->isChecked();
    }
    result.replace = m_replace->isChecked();
    result.applyToAll = m_applyToAll->isChecked();
    return result;
}

void CExifInfo::accept()
{
    Settings settings;
    saveToggles(settings, choice());
    CMyDlg::accept();
}
