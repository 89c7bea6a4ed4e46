// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/rotatepp.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "enhancer/rotationdial.h"
#include "enhancer/ui/rotatearrow.h"
#include "enhancer/ui/rotatethumbnail.h"

CRotatePP::CRotatePP(const ImageRecord& image, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Image rotation / flip"));
    m_thumbnail = new CRotateThumbnail(ThumbnailSide, this);
    m_thumbnail->setToolTip(tr("How the image will look"));

    auto* controls = new QVBoxLayout;
    controls->addWidget(BuildRotateGroup());
    controls->addWidget(BuildFlipGroup());
    auto* body = new QHBoxLayout;
    body->addLayout(controls);
    body->addWidget(m_thumbnail, 0, Qt::AlignTop);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRotatePP::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRotatePP::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_thumbnail->SetTurn(Parameters());
    m_thumbnail->SetImage(image);
    m_dial->Bind(&m_angle);
    m_initialised = true;
}

QWidget* CRotatePP::BuildRotateGroup()
{
    auto* group = new QGroupBox(tr("Rotate"), this);
    m_dial = new CRotateArrow(group);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("0"), group), 0, 1, Qt::AlignHCenter | Qt::AlignBottom);
    grid->addWidget(new QLabel(QStringLiteral("270"), group), 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    grid->addWidget(m_dial, 1, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("90"), group), 1, 2, Qt::AlignLeft | Qt::AlignVCenter);
    grid->addWidget(new QLabel(QStringLiteral("180"), group), 2, 1, Qt::AlignHCenter | Qt::AlignTop);

    m_angleEdit = new QSpinBox(group);
    m_angleEdit->setRange(0, 359);
    m_angleEdit->setWrapping(true); // stepping past 359 comes round to 0
    m_angleEdit->setSuffix(QStringLiteral("°"));
    m_angleEdit->setAccessibleName(tr("Angle"));
    auto* caption = new QLabel(tr("&Angle:"), group);
    caption->setBuddy(m_angleEdit);
    auto* angleRow = new QHBoxLayout;
    angleRow->addWidget(caption);
    angleRow->addWidget(m_angleEdit, 1);

    auto* layout = new QVBoxLayout(group);
    layout->addLayout(grid);
    layout->addLayout(angleRow);
    connect(m_angleEdit, &QSpinBox::valueChanged, this, &CRotatePP::ControlsChanged);
    connect(m_dial, &CRotateArrow::angleChanged, this, &CRotatePP::DialTurned);
    return group;
}

QWidget* CRotatePP::BuildFlipGroup()
{
    auto* group = new QGroupBox(tr("Flip"), this);
    m_flipHorizontal = new QCheckBox(tr("&Horizontal"), group);
    m_flipVertical = new QCheckBox(tr("&Vertical"), group);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_flipHorizontal);
    layout->addWidget(m_flipVertical);
    connect(m_flipHorizontal, &QCheckBox::toggled, this, &CRotatePP::ControlsChanged);
    connect(m_flipVertical, &QCheckBox::toggled, this, &CRotatePP::ControlsChanged);
    return group;
}

void CRotatePP::DialTurned(int angle)
{
    // The dial has already stored the angle; the entry follows without echoing back.
    const QSignalBlocker quiet(m_angleEdit);
    m_angleEdit->setValue(angle);
    if (m_initialised)
        m_thumbnail->SetTurn(Parameters());
}

void CRotatePP::ControlsChanged()
{
    if (!m_initialised)
        return;
    m_angle = RotationDial::NormalisedAngle(m_angleEdit->value());
    {
        const QSignalBlocker quiet(m_angleEdit);
        m_angleEdit->setValue(m_angle);
    }
    m_dial->update();
    m_thumbnail->SetTurn(Parameters());
}

TurnSettings CRotatePP::Parameters() const
{
    TurnSettings turn;
    turn.angle = m_angle;
    turn.flipHorizontal = m_flipHorizontal->isChecked();
    turn.flipVertical = m_flipVertical->isChecked();
    return turn;
}
