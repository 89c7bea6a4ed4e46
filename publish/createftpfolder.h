// SPDX-License-Identifier: GPL-2.0-or-later
// CCreateFTPFolder: asks for the name of a new remote folder. OK takes the text as typed.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

class CCreateFTPFolder : public QDialog
{
    Q_OBJECT
public:
    enum ControlId { IDD = 247, IDC_NAME = 1015 };

    explicit CCreateFTPFolder(QWidget* parent = nullptr);

    // The name given with OK.
    QString Name() const { return m_name; }
    QLineEdit& NameEdit() { return *m_edit; }
    QPushButton& OkButton() { return *m_ok; }
    QPushButton& CancelButton() { return *m_cancel; }

    void accept() override;

private:
    QLabel* m_prompt;
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QPushButton* m_cancel;
    QString m_name;
};
