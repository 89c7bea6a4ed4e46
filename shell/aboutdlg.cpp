// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/aboutdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/imagebutton.h"
#include "controls/skinhooks.h"
#include "platform/stringtable.h"
#include "shell/skin.h"

namespace
{

constexpr int SupportPicture = 210; // "support.gif"
constexpr int DonePicture = 228;    // "done.gif"

} // namespace

CAboutDlg::CAboutDlg(Skin& skin, std::function<void()> support, QWidget* parent)
    : QDialog(parent), m_link(new QLabel(this))
{
    setWindowTitle(loadString(IDS_ABOUT_TITLE));
    QPalette colours = palette();
    colours.setColor(QPalette::Window,
                     colorFromRef(static_cast<uint32_t>(skin.GetSkinColor(SKIN_BACKGROUND))));
    colours.setColor(QPalette::WindowText,
                     colorFromRef(static_cast<uint32_t>(skin.GetSkinColor(SKIN_TEXT))));
    setPalette(colours);
    setAutoFillBackground(true);

    auto* name = new QLabel(loadString(IDS_PRODUCT_NAME), this);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    name->setFont(large);
    auto* version = new QLabel(loadString(IDS_PRODUCT_VERSION), this);
    auto* notice = new QLabel(loadString(IDS_LEGAL_NOTICE), this);
    m_link->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                        .arg(loadString(IDS_WEB_HOME), loadString(IDS_WEB_LINK).toHtmlEscaped()));
    m_link->setOpenExternalLinks(true);
    m_link->setTextInteractionFlags(Qt::TextBrowserInteraction);

    m_support = makeButton(skin, SupportPicture, 2, IDS_ABOUT_SUPPORT, 1);
    m_done = makeButton(skin, DonePicture, 3, IDS_DONE, 2);
    connect(m_support, &QAbstractButton::clicked, this, [support] {
        if (support)
            support();
    });
    connect(m_done, &QAbstractButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_support);
    buttons->addStretch();
    buttons->addWidget(m_done);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* line : {static_cast<QWidget*>(name), static_cast<QWidget*>(version),
                          static_cast<QWidget*>(notice), static_cast<QWidget*>(m_link)})
        layout->addWidget(line);
    layout->addSpacing(12);
    layout->addLayout(buttons);
}

QAbstractButton* CAboutDlg::makeButton(Skin& skin, int pictureId, int states, int textId, int id)
{
    const QImage strip = skin.LoadSkinPicture(pictureId);
    if (!strip.isNull())
        return new CImageButton(strip, states, this, id);
    return new QPushButton(loadString(textId), this);
}
