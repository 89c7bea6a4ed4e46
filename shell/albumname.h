// SPDX-License-Identifier: GPL-2.0-or-later
// CAlbumName: the small dialog that asks for the name of a new album when it is saved without
// one. An empty name is never taken: the user is told (message 1117) and asked again, until a
// name is given or the dialog is cancelled.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include <QDialog>
#include <QImage>
#include <QString>

class QLineEdit;
class QPushButton;
class Prompter;
class Skin;

// One showing of the question, proposing a name: the text the user confirmed, or nothing when
// the user cancelled.
using AlbumNameQuestion = std::function<std::optional<QString>(const QString& proposed)>;

// Asks until the answer is not empty; each empty answer is met with message 1117 and the
// question is asked again with the empty text. Nothing when the user cancels.
std::optional<QString> AskAlbumNameUntilGiven(const QString& proposed, Prompter& prompter,
                                              const AlbumNameQuestion& askOnce);

class CAlbumName : public QDialog {
public:
    // okPicture: the OK button's three-state skin strip (a null image shows the text "OK");
    // background: the skin background colour, a COLORREF. A proposed name fills the field.
    CAlbumName(const QString& proposed, const QImage& okPicture, int32_t background,
               QWidget* parent = nullptr);
    ~CAlbumName() override;

    // The field's text when the dialog was confirmed.
    QString Name() const { return m_name; }
    QLineEdit& NameEdit() { return *m_edit; }
    QPushButton& OkButton() { return *m_ok; }

    void accept() override;

    // Shows the dialog until a name is given, with the skin's picture and colour; nothing
    // when the user cancels.
    static std::optional<QString> Ask(const QString& proposed, Prompter& prompter, Skin& skin,
                                      QWidget* parent = nullptr);

private:
    QLineEdit* m_edit;
    QPushButton* m_ok;
    QString m_name;
};
