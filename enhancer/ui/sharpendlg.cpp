// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/sharpendlg.h"

#include <cstring>
#include <new>

#include <QDialogButtonBox>
#include <QPushButton>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

#include "enhancer/imagerecord.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/sharpenoperation.h"
#include "enhancer/ui/previewctrl.h"

CSharpenDlg::CSharpenDlg(const ImageRecord& image, CSharpenOperation& operation, QWidget* parent)
    : QDialog(parent), m_image(image), m_operation(operation)
{
    setWindowTitle(tr("Image sharpening / blurring"));
    if (!m_operation.IsPrepared() && image.HasPixels())
        m_operation.Prepare(image.header, image.Pixels(), nullptr);

    m_preview = new CPreviewCtrl(this);
    m_preview->setMinimumSize(PreviewWidth, PreviewHeight);
    m_preview->setAccessibleName(tr("Preview"));
    m_amountLabel = new QLabel(this);
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setRange(0, CSharpenOperation::SliderMaximum);
    m_slider->setPageStep(10);
    m_slider->setValue(CSharpenOperation::SliderOfAmount(m_operation.Amount()));
    m_slider->setAccessibleName(tr("Amount"));
    m_amountLabel->setBuddy(m_slider);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_preview, 1);
    layout->addWidget(m_amountLabel);
    layout->addWidget(m_slider);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSharpenDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSharpenDlg::reject);
    connect(m_slider, &QSlider::valueChanged, this, &CSharpenDlg::SliderMoved);
    ShowAmount();

    // The preview blends into a copy of the document's pixels, never into the document.
    if (image.HasPixels() && m_operation.IsPrepared()) {
        m_working.reset(new (std::nothrow) uint8_t[image.byteSize]);
        if (m_working) {
            std::memcpy(m_working.get(), image.Pixels(), image.byteSize);
            m_preview->SetImage(image.header, image.Pixels(), m_working.get(), 1.0);
            m_preview->SetOperation(&m_operation);
        }
    }
    // Without the sharpened copy there is nothing to apply.
    buttons->button(QDialogButtonBox::Ok)->setEnabled(m_working != nullptr);
}

CSharpenDlg::~CSharpenDlg() = default;

int CSharpenDlg::Amount() const
{
    return m_operation.Amount();
}

void CSharpenDlg::ShowAmount()
{
    m_amountLabel->setText(loadLumivexString(IDS_LX_AMOUNT)
                               .replace(QStringLiteral("%d"), QString::number(Amount()))
                               .replace(QStringLiteral("%%"), QStringLiteral("%")));
}

void CSharpenDlg::SliderMoved(int position)
{
    m_operation.SetAmount(CSharpenOperation::AmountOfSlider(position));
    ShowAmount();
    if (m_working)
        m_preview->Render();
}

bool CSharpenDlg::TakeResult(BITMAPINFOHEADER& header, uint8_t*& packedPixels,
                             const ProgressCallback* progress)
{
    if (!m_working)
        return false;
    uint8_t* result = nullptr;
    if (!m_operation.Apply(m_image.header, m_image.Pixels(), m_image.header, &result, progress,
                           nullptr))
        return false;
    header = m_image.header;
    packedPixels = result;
    return true;
}
