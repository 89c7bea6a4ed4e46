// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/albumname.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/myprogressctl.h"
#include "controls/skinpicture.h"
#include "platform/messageboxprompter.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "shell/skin.h"

namespace {

constexpr int OkPicture = 228; // "done.gif", three states

} // namespace

std::optional<QString> AskAlbumNameUntilGiven(const QString& proposed, Prompter& prompter,
                                              const AlbumNameQuestion& askOnce)
{
    QString offered = proposed;
    for (;;) {
        const std::optional<QString> answer = askOnce(offered);
        if (!answer)
            return std::nullopt;
        if (!answer->isEmpty())
            return answer;
        prompter.message(loadString(IDS_EMPTY_ALBUM_NAME), Prompter::Icon::Warning);
        offered = *answer;
    }
}

CAlbumName::CAlbumName(const QString& proposed, const QImage& okPicture, int32_t background,
                       QWidget* parent)
    : QDialog(parent), m_edit(new QLineEdit(this)), m_ok(new QPushButton(this))
{
    setWindowTitle(loadString(IDS_ALBUM_NAME_TITLE));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromColorRef(background));
    setPalette(colours);
    setAutoFillBackground(true);

    auto* label = new QLabel(loadString(IDS_ALBUM_NAME_LABEL), this);
    label->setBuddy(m_edit);
    if (!proposed.isEmpty())
        m_edit->setText(proposed);
    applySkinPicture(*m_ok, okPicture, 3, loadString(IDS_OK));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, [this] { accept(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_edit);
    layout->addLayout(buttons);
    // The dialog's few controls would leave it narrower than its own question.
    setMinimumWidth(MessageBoxPrompter::TitleWidth(windowTitle()));
}

CAlbumName::~CAlbumName() = default;

void CAlbumName::accept()
{
    m_name = m_edit->text();
    QDialog::accept();
}

std::optional<QString> CAlbumName::Ask(const QString& proposed, Prompter& prompter, Skin& skin,
                                       QWidget* parent)
{
    const QImage picture = skin.LoadSkinPicture(OkPicture);
    const int32_t background = skin.GetSkinColor(SKIN_BACKGROUND);
    return AskAlbumNameUntilGiven(
        proposed, prompter, [&](const QString& offered) -> std::optional<QString> {
            CAlbumName dialog(offered, picture, background, parent);
            if (dialog.exec() != QDialog::Accepted)
                return std::nullopt;
            return dialog.Name();
        });
}
