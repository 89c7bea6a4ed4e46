// SPDX-License-Identifier: GPL-2.0-or-later
#include "images/sourcelistdlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/stringtable.h"

CSourceListDlg::CSourceListDlg(const std::vector<SourceInfo>& sources, QWidget* parent)
    : CMyDlg(parent), m_empty(sources.empty())
{
    setWindowTitle(loadString(IDS_SOURCE_LIST_TITLE));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(loadString(IDS_SOURCE_LIST_LABEL), this));
    m_list = new QListWidget(this);
    for (const SourceInfo& source : sources)
        m_list->addItem(label(source));
    if (m_empty) {
        m_list->addItem(loadString(IDS_SOURCE_LIST_EMPTY));
        m_list->setEnabled(false);
    } else {
        m_list->setCurrentRow(0);
    }
    layout->addWidget(m_list);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    box->button(QDialogButtonBox::Ok)->setText(loadString(IDS_OK));
    box->button(QDialogButtonBox::Ok)->setEnabled(!m_empty);
    box->button(QDialogButtonBox::Cancel)->setText(loadString(IDS_CANCEL));
    connect(box, &QDialogButtonBox::accepted, this, &CSourceListDlg::accept);
    connect(box, &QDialogButtonBox::rejected, this, &CSourceListDlg::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CSourceListDlg::accept);
    layout->addWidget(box);
}

int CSourceListDlg::chosen() const
{
    return m_empty ? -1 : m_list->currentRow();
}

int CSourceListDlg::choose(const std::vector<SourceInfo>& sources, QWidget* parent)
{
    CSourceListDlg dialog(sources, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.chosen() : -1;
}

QString CSourceListDlg::label(const SourceInfo& source)
{
    const QString model = (source.vendor + QLatin1Char(' ') + source.model).trimmed();
    return model.isEmpty() ? source.name : QStringLiteral("%1 (%2)").arg(model, source.name);
}
