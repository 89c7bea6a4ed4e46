// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/redeyedlg.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <cstring>
#include <new>

#include "enhancer/imagerecord.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/redeyebrush.h"
#include "enhancer/ui/previewicons.h"
#include "enhancer/ui/redeyectrl.h"
#include "platform/choosers.h"

namespace {

constexpr int SliderPage = 10;
constexpr int PreviewWidth = 340, PreviewHeight = 300;

QColor ColourOf(uint32_t colorref)
{
    return QColor(int(colorref & 0xFF), int((colorref >> 8) & 0xFF), int((colorref >> 16) & 0xFF));
}

QString Formatted(int id, int value)
{
    return loadLumivexString(id).replace(QStringLiteral("%d"), QString::number(value));
}

QSlider* MakeSlider(QWidget* parent, int minimum, int maximum, int start, const QString& name)
{
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(minimum, maximum);
    slider->setPageStep(SliderPage);
    slider->setValue(start);
    slider->setAccessibleName(name);
    slider->setMinimumWidth(180);
    return slider;
}

// The hints window the Tips button shows beside the dialog.
QDialog* MakeTips(QWidget* owner)
{
    auto* tips = new QDialog(owner, Qt::Tool);
    tips->setWindowTitle(QObject::tr("Tips"));
    tips->setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(tips);
    for (const char* text :
         {"- Zoom in area with red eye. Press brush button and adjust brush size using slider or "
          "mouse wheel according to the red spot size, make a stroke",
          " - If you get unwanted eye color you can change it's hue using  eye color adjustment "
          "slider or use custom brush color, that can be picked from palette or image.",
          "- When in brush mode you can press <Space> to drag the image. Use <Z>/<X> keys to "
          "undo/redo your brush strokes. "}) {
        auto* label = new QLabel(QString::fromUtf8(text), tips);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        layout->addWidget(label);
    }
    auto* close = new QPushButton(QObject::tr("Close"), tips);
    QObject::connect(close, &QPushButton::clicked, tips, &QDialog::close);
    layout->addWidget(close, 0, Qt::AlignRight);
    tips->setFixedWidth(320);
    return tips;
}

} // namespace

CColorStatic::CColorStatic(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Custom brush color"));
}

void CColorStatic::SetColour(uint32_t colour)
{
    m_colour = colour;
    setAccessibleDescription(ColourOf(colour).name());
    update();
}

void CColorStatic::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), ColourOf(m_colour));
    p.setPen(Qt::black);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

CRedEyeDlg::CRedEyeDlg(const ImageRecord& image, Choosers& choosers, QWidget* parent)
    : QDialog(parent), m_choosers(choosers), m_header(image.header)
{
    setWindowTitle(tr("Red eye editing"));
    bool ready = image.HasPixels();
    if (ready) {
        try {
            m_working.assign(image.Pixels(), image.Pixels() + image.byteSize);
        } catch (const std::bad_alloc&) {
            ready = false;
        }
    }
    m_output = ready ? ImageRecord::AllocatePacked(m_header) : nullptr;
    ready = ready && m_output != nullptr;

    m_control = new CRedEyeCtrl(this);
    m_control->setMinimumSize(PreviewWidth, PreviewHeight);
    auto* side = new QVBoxLayout;
    side->addWidget(BuildSliders());
    side->addWidget(BuildColours());
    side->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_ok = buttons->button(QDialogButtonBox::Ok);
    m_cancel = buttons->button(QDialogButtonBox::Cancel);
    m_tipsButton = buttons->addButton(tr("Tips"), QDialogButtonBox::HelpRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRedEyeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRedEyeDlg::reject);
    connect(m_tipsButton, &QPushButton::clicked, this, &CRedEyeDlg::ToggleTips);
    side->addWidget(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(m_control, 1);
    layout->addLayout(side);

    connect(m_control, &CRedEyeCtrl::StateChanged, this, &CRedEyeDlg::RefreshPickButtons);
    connect(m_control, &CRedEyeCtrl::ColourPicked, this, &CRedEyeDlg::ColourPicked);
    if (ready)
        m_control->Start(m_header, m_working.data());
    m_ok->setEnabled(ready);
    SlidersChanged();
    RefreshPickButtons();
    PaintIcons();
    qApp->installEventFilter(this);
}

CRedEyeDlg::~CRedEyeDlg()
{
    qApp->removeEventFilter(this);
    ImageRecord::FreePacked(m_output);
}

QWidget* CRedEyeDlg::BuildSliders()
{
    auto* box = new QWidget(this);
    auto* grid = new QVBoxLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    m_sizeLabel = new QLabel(box);
    m_size = MakeSlider(box, RedEyeBrush::MinSize, RedEyeBrush::MaxSize, RedEyeBrush::StartSize,
                        tr("Brush size"));
    m_sharpnessLabel = new QLabel(box);
    m_sharpness = MakeSlider(box, 0, 100, RedEyeBrush::StartSharpness, tr("Brush sharpness"));
    m_sizeLabel->setBuddy(m_size);
    m_sharpnessLabel->setBuddy(m_sharpness);
    for (QWidget* control : {static_cast<QWidget*>(m_sizeLabel), static_cast<QWidget*>(m_size),
                             static_cast<QWidget*>(m_sharpnessLabel),
                             static_cast<QWidget*>(m_sharpness)})
        grid->addWidget(control);
    connect(m_size, &QSlider::valueChanged, this, &CRedEyeDlg::SlidersChanged);
    connect(m_sharpness, &QSlider::valueChanged, this, &CRedEyeDlg::SlidersChanged);
    return box;
}

QWidget* CRedEyeDlg::BuildColours()
{
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 8, 0, 0);
    m_automatic = new QRadioButton(loadLumivexString(IDS_LX_ADJUST_EYE_COLOUR), box);
    m_eyeColour = MakeSlider(box, 0, 100, RedEyeBrush::StartEyeColour, tr("Eye color"));
    m_custom = new QRadioButton(tr("Custom brush color"), box);
    m_swatch = new CColorStatic(box);
    m_swatch->setFixedSize(m_swatch->sizeHint());
    m_palette = new QToolButton(box);
    m_pick = new QToolButton(box);
    m_palette->setToolTip(CPreviewCtrl::TipOf(32799));
    m_palette->setAccessibleName(CPreviewCtrl::TipOf(32799));
    m_pick->setToolTip(CPreviewCtrl::TipOf(32800));
    m_pick->setAccessibleName(CPreviewCtrl::TipOf(32800));
    m_pick->setCheckable(true);
    m_automatic->setChecked(true);
    auto* swatchRow = new QHBoxLayout;
    swatchRow->addWidget(m_swatch);
    swatchRow->addSpacing(5);
    swatchRow->addWidget(m_palette);
    swatchRow->addWidget(m_pick);
    swatchRow->addStretch();
    grid->addWidget(m_automatic, 0, 0);
    grid->addWidget(m_eyeColour, 1, 0);
    grid->addWidget(m_custom, 2, 0);
    grid->addLayout(swatchRow, 3, 0);
    connect(m_eyeColour, &QSlider::valueChanged, this, &CRedEyeDlg::SlidersChanged);
    connect(m_custom, &QRadioButton::toggled, this, &CRedEyeDlg::ColourModeChosen);
    connect(m_palette, &QToolButton::clicked, this, &CRedEyeDlg::ChoosePaletteColour);
    connect(m_pick, &QToolButton::clicked, m_control, &CRedEyeCtrl::StartPicking);
    return box;
}

void CRedEyeDlg::PaintIcons()
{
    const QColor ink = palette().color(QPalette::WindowText);
    m_palette->setIcon(PreviewIcon(PreviewIconKind::Palette, ink, 16));
    m_pick->setIcon(PreviewIcon(PreviewIconKind::Picker, ink, 16));
}

void CRedEyeDlg::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange && m_palette != nullptr)
        PaintIcons();
    QDialog::changeEvent(event);
}

void CRedEyeDlg::SlidersChanged()
{
    if (RedEyeTool* tool = m_control->Tool()) {
        tool->brush.SetFromSliders(m_size->value(), m_eyeColour->value(), m_sharpness->value());
        m_sizeLabel->setText(Formatted(IDS_LX_BRUSH_SIZE, tool->brush.SizeLabelValue()));
        m_control->BrushChanged();
    } else {
        m_sizeLabel->setText(Formatted(IDS_LX_BRUSH_SIZE, m_size->value() - 1));
    }
    m_sharpnessLabel->setText(Formatted(IDS_LX_BRUSH_SHARPNESS, m_sharpness->value()));
}

void CRedEyeDlg::ColourModeChosen(bool custom)
{
    m_eyeColour->setEnabled(!custom);
    m_control->SetCustomMode(custom);
    RefreshPickButtons();
}

void CRedEyeDlg::RefreshPickButtons()
{
    RedEyeTool* tool = m_control->Tool();
    const RedEyeTool::Buttons states = tool != nullptr ? tool->ButtonStates()
                                                       : RedEyeTool::Buttons{};
    m_palette->setEnabled(states.paletteEnabled);
    m_pick->setEnabled(states.pickEnabled);
    m_pick->setChecked(states.pickPressed);
}

void CRedEyeDlg::ChoosePaletteColour()
{
    const std::optional<uint32_t> chosen = m_choosers.colour(m_swatch->Colour());
    if (chosen)
        ColourPicked(*chosen);
}

void CRedEyeDlg::ColourPicked(uint32_t colour)
{
    m_swatch->SetColour(colour);
    if (RedEyeTool* tool = m_control->Tool())
        tool->brush.customColour = colour;
    RefreshPickButtons();
}

void CRedEyeDlg::ToggleTips()
{
    if (m_tips != nullptr) {
        m_tips->close();
        return;
    }
    m_tips = MakeTips(this);
    m_tips->move(frameGeometry().topRight());
    m_tips->show();
    m_tips->raise();
}

bool CRedEyeDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != this || !isVisible())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return KeyEvent(event);
    case QEvent::Wheel: {
        const int delta = static_cast<QWheelEvent*>(event)->angleDelta().y();
        m_size->setValue(RedEyeBrush::SizeAfterWheel(m_size->value(), delta));
        return true;
    }
    default:
        return false;
    }
}

// Space holds the picture for dragging; Z and X undo and redo strokes. These keys belong to
// the brush wherever the focus is in the dialog.
bool CRedEyeDlg::KeyEvent(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    switch (key->key()) {
    case Qt::Key_Space:
        if (!key->isAutoRepeat())
            m_control->SetTemporaryDrag(press);
        return true;
    case Qt::Key_Z:
        if (press)
            m_control->UndoStroke();
        return true;
    case Qt::Key_X:
        if (press)
            m_control->RedoStroke();
        return true;
    default:
        return false;
    }
}

void CRedEyeDlg::accept()
{
    if (m_output == nullptr)
        return;
    std::memcpy(m_output, m_working.data(), m_working.size());
    QDialog::accept();
}

bool CRedEyeDlg::TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels)
{
    if (result() != QDialog::Accepted || m_output == nullptr)
        return false;
    header = m_header;
    packedPixels = m_output;
    m_output = nullptr;
    return true;
}
