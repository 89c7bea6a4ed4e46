// SPDX-License-Identifier: GPL-2.0-or-later
#include "controls/tipdlg.h"

#include <cmath>

#include <QFile>
#include <QLabel>
#include <QPainter>

#include "controls/imagebutton.h"
#include "controls/skinhooks.h"
#include "platform/settings.h"
#include "platform/stringtable.h"

namespace
{

const QString TipSection = QStringLiteral("Tip");
const QString StartUpValue = QStringLiteral("StartUp");
const QString FilePosValue = QStringLiteral("FilePos");

constexpr int NextPicture = 184;
constexpr int DonePicture = 228;
constexpr int ShowTipsPicture = 208;

const QRect PictureArea(16, 16, 48, 48);
const QRect HeadingArea(76, 16, 348, 32);
const QRect TextArea(76, 56, 348, 128);

// The light bulb beside the heading, in the skin's label colour.
void drawBulb(QPainter& painter, const QColor& label)
{
    const QRectF glass(PictureArea.left() + 10, PictureArea.top() + 4, 28, 28);
    painter.setPen(QPen(label.darker(150), 2));
    painter.setBrush(QColor(255, 246, 200));
    painter.drawEllipse(glass);
    painter.setBrush(label);
    painter.drawRoundedRect(QRectF(glass.center().x() - 7, glass.bottom() + 1, 14, 9), 2, 2);
    painter.setPen(QPen(label.darker(150), 1.5));
    painter.drawLine(QPointF(glass.center().x() - 7, glass.bottom() + 5),
                     QPointF(glass.center().x() + 7, glass.bottom() + 5));
    const QPointF c = glass.center();
    const QPointF filament[] = {c + QPointF(-5, 4), c + QPointF(-2.5, -1), c + QPointF(0, 4),
                                c + QPointF(2.5, -1), c + QPointF(5, 4)};
    painter.drawPolyline(filament, 5);
    for (int i = 0; i < 5; ++i) { // rays
        const double a = (200 + i * 35) * M_PI / 180.0;
        painter.drawLine(c + QPointF(19 * std::cos(a), 19 * std::sin(a)),
                         c + QPointF(23 * std::cos(a), 23 * std::sin(a)));
    }
}

} // namespace

QByteArray CTipDlg::shippedTips()
{
    QFile tips(QStringLiteral(":/gallivex/tips.txt"));
    return tips.open(QIODevice::ReadOnly) ? tips.readAll() : QByteArray();
}

bool CTipDlg::showAtStartUp(const Settings& settings)
{
    return settings.getInt(TipSection, StartUpValue, 0) == 0;
}

CTipDlg::CTipDlg(Settings& settings, QWidget* parent, const QByteArray& tips)
    : CMyDlg(parent), m_settings(settings)
{
    m_initialShow = showAtStartUp(settings);
    const int position = settings.getInt(TipSection, FilePosValue, 0);
    if (tips.isEmpty() || !m_file.open(tips))
        m_tip = loadString(IDS_TIPS_FILE_MISSING);
    else if (!m_file.seek(position))
        m_tip = loadString(IDS_TIPS_READ_ERROR);
    else
        readTip();
    buildControls();
}

CTipDlg::~CTipDlg()
{
    if (m_file.isOpen())
        m_settings.writeInt(TipSection, FilePosValue, int(m_file.position()));
}

void CTipDlg::readTip()
{
    const QString tip = m_file.next();
    m_tip = m_file.status() == TipFile::Status::Ok ? tip : loadString(IDS_TIPS_READ_ERROR);
}

void CTipDlg::buildControls()
{
    setWindowTitle(loadString(IDS_TIP_TITLE));
    setFixedSize(440, 240);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colorFromRef(uint32_t(SkinHooks::colour(0))));
    setPalette(colours);
    setAutoFillBackground(true);

    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("tipText"));
    m_text->setProperty("controlId", TipTextId);
    m_text->setGeometry(TextArea.adjusted(10, 8, -10, -8));
    m_text->setWordWrap(true);
    // The tip sits in a field of its own, so it takes the field's text colour.
    m_text->setForegroundRole(QPalette::Text);
    m_text->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    m_text->setText(m_tip.trimmed());

    m_show = new CImageButton(this, ShowTipId);
    m_show->setText(loadString(IDS_SHOW_TIP));
    m_show->SetImage(ShowTipsPicture, 2);
    m_show->setCheckStyle(true);
    m_show->SetCheck(m_initialShow ? 1 : 0);
    m_show->move(16, 204);

    m_next = new CImageButton(this, NextTipId);
    m_next->setText(loadString(IDS_NEXT_TIP));
    // The picture is the wizard's Next: its caption (and so its spoken name and Alt key) is
    // what the picture shows.
    if (m_next->SetImage(NextPicture, 3, true))
        m_next->setText(loadString(IDS_NEXT));
    m_next->move(440 - 16 - 2 * 80, 198);
    m_next->setEnabled(m_file.isOpen());

    m_done = new CImageButton(this, DoneId);
    m_done->setText(loadString(IDS_DONE));
    m_done->SetImage(DonePicture, 3, true);
    m_done->move(440 - 16 - 80, 198);

    connect(m_next, &QAbstractButton::clicked, this, &CTipDlg::OnNextTip);
    connect(m_done, &QAbstractButton::clicked, this, &CTipDlg::OnDone);
}

bool CTipDlg::showFlag() const
{
    return m_show->GetCheck() != 0;
}

void CTipDlg::storeStartUp()
{
    m_settings.writeInt(TipSection, StartUpValue, showFlag() ? 0 : 1);
}

void CTipDlg::OnNextTip()
{
    storeStartUp();
    readTip();
    m_text->setText(m_tip.trimmed());
}

void CTipDlg::OnDone()
{
    accept();
    storeStartUp();
}

void CTipDlg::reject()
{
    // Esc and the close box keep the user's choice too.
    storeStartUp();
    CMyDlg::reject();
}

void CTipDlg::paintEvent(QPaintEvent* event)
{
    CMyDlg::paintEvent(event);
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    drawBulb(painter, colorFromRef(uint32_t(SkinHooks::colour(2))));
    QFont heading = font();
    heading.setPixelSize(17);
    heading.setBold(true);
    painter.setFont(heading);
    painter.setPen(colorFromRef(uint32_t(SkinHooks::colour(1))));
    painter.drawText(HeadingArea, Qt::AlignLeft | Qt::AlignVCenter, loadString(IDS_TIP_HEADING));
    painter.setPen(QPen(colorFromRef(uint32_t(SkinHooks::colour(2))).darker(120), 1));
    painter.setBrush(palette().color(QPalette::Base));
    painter.drawRect(QRectF(TextArea).adjusted(0.5, 0.5, -0.5, -0.5));
}
