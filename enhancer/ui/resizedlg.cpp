// SPDX-License-Identifier: GPL-2.0-or-later
#include "enhancer/ui/resizedlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QVBoxLayout>

#include "enhancer/imagerecord.h"
#include "enhancer/lumivexstrings.h"
#include "enhancer/ui/toolbaricons.h"
#include "platform/prompter.h"

CResizeDlg::CResizeDlg(const ImageRecord& image, Prompter& prompter, const QString& programFolder,
                       QWidget* parent)
    : QDialog(parent), m_prompter(prompter)
{
    setWindowTitle(tr("Resize image"));
    m_startMessage = m_math.Start(image.widthPixels, image.heightPixels);
    Build(programFolder);
    ShowEntries();
    ShowLabels();
}

void CResizeDlg::Build(const QString& programFolder)
{
    m_mode = new QComboBox(this);
    m_mode->addItem(loadLumivexString(IDS_LX_PERCENTS));
    m_mode->addItem(loadLumivexString(IDS_LX_PIXELS));
    m_mode->setCurrentIndex(m_math.GetMode());
    m_mode->setAccessibleName(tr("Units"));

    // Digits only, and no more of them than the arithmetic accepts.
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")),
                                                   this);
    m_width = new QLineEdit(this);
    m_width->setValidator(digits);
    m_width->setAccessibleName(tr("Width"));
    m_height = new QLineEdit(this);
    m_height->setValidator(digits);
    m_height->setAccessibleName(tr("Height"));
    m_widthLabel = new QLabel(this);
    m_heightLabel = new QLabel(this);
    m_widthLabel->setAccessibleName(tr("New width"));
    m_heightLabel->setAccessibleName(tr("New height"));
    // Room for the longest label text, so that the dialog keeps its size while typing.
    const int labelWidth = fontMetrics().horizontalAdvance(
        ResizeMath::FormatLabel(loadLumivexString(IDS_LX_PIXELS_OF).toStdString(), 100000).c_str());
    m_widthLabel->setMinimumWidth(labelWidth);
    m_heightLabel->setMinimumWidth(labelWidth);

    auto* widthCaption = new QLabel(tr("&Width:"), this);
    widthCaption->setBuddy(m_width);
    auto* heightCaption = new QLabel(tr("&Height:"), this);
    heightCaption->setBuddy(m_height);

    m_lock = new QCheckBox(tr("&Lock aspect ratio"), this);
    m_lock->setChecked(m_math.LockAspect());

    auto* grid = new QGridLayout;
    grid->addWidget(m_mode, 0, 2, 1, 2);
    grid->addWidget(Picture(QStringLiteral("width"), programFolder), 1, 0);
    grid->addWidget(widthCaption, 1, 1);
    grid->addWidget(m_width, 1, 2);
    grid->addWidget(m_widthLabel, 1, 3);
    grid->addWidget(Picture(QStringLiteral("height"), programFolder), 2, 0);
    grid->addWidget(heightCaption, 2, 1);
    grid->addWidget(m_height, 2, 2);
    grid->addWidget(m_heightLabel, 2, 3);
    grid->addWidget(m_lock, 3, 2, 1, 2);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(buttons, &QDialogButtonBox::accepted, this, &CResizeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CResizeDlg::reject);
    connect(m_width, &QLineEdit::textEdited, this, &CResizeDlg::WidthEdited);
    connect(m_height, &QLineEdit::textEdited, this, &CResizeDlg::HeightEdited);
    connect(m_mode, &QComboBox::currentIndexChanged, this, &CResizeDlg::ModeChosen);
    connect(m_lock, &QCheckBox::toggled, this, [this](bool locked) { m_math.SetLockAspect(locked); });
}

QLabel* CResizeDlg::Picture(const QString& name, const QString& programFolder)
{
    // Drawn at 1x and 2x: the pixmap for the screen's density keeps it sharp.
    const QIcon icon = ToolbarIcons::Picture(name, programFolder);
    auto* picture = new QLabel(this);
    picture->setObjectName(name + QStringLiteral("Picture"));
    picture->setPixmap(
        icon.pixmap(QSize(ToolbarIcons::Size, ToolbarIcons::Size), devicePixelRatioF()));
    return picture;
}

void CResizeDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // The complaint about the image's size comes once the dialog is on the screen.
    if (m_startMessage != 0 && !m_startShown) {
        m_startShown = true;
        QTimer::singleShot(0, this, [this] {
            m_prompter.message(loadLumivexString(m_startMessage), Prompter::Icon::None);
        });
    }
}

int64_t CResizeDlg::EntryValue(const QString& text)
{
    return text.toLongLong(); // empty reads as 0, as an empty entry means no size
}

void CResizeDlg::WidthEdited(const QString& text)
{
    m_math.EditWidth(EntryValue(text));
    // Only the other entry is rewritten: the one being typed keeps its caret and text.
    m_height->setText(QString::number(m_math.HeightEntry()));
    ShowLabels();
}

void CResizeDlg::HeightEdited(const QString& text)
{
    m_math.EditHeight(EntryValue(text));
    m_width->setText(QString::number(m_math.WidthEntry()));
    ShowLabels();
}

void CResizeDlg::ModeChosen(int index)
{
    m_math.SetMode(index == ResizeMath::Pixels ? ResizeMath::Pixels : ResizeMath::Percent);
    ShowEntries();
    ShowLabels();
}

void CResizeDlg::ShowEntries()
{
    m_width->setText(QString::number(m_math.WidthEntry()));
    m_height->setText(QString::number(m_math.HeightEntry()));
}

QString CResizeDlg::LabelText(const ResizeMath::Label& label) const
{
    return QString::fromStdString(
        ResizeMath::FormatLabel(loadLumivexString(label.text).toStdString(), label.number));
}

void CResizeDlg::ShowLabels()
{
    m_widthLabel->setText(LabelText(m_math.WidthLabel()));
    m_heightLabel->setText(LabelText(m_math.HeightLabel()));
}

void CResizeDlg::accept()
{
    if (const int refusal = m_math.CheckAccept(); refusal != 0) {
        m_prompter.message(loadLumivexString(refusal), Prompter::Icon::None);
        return;
    }
    QDialog::accept();
}

ResizeParameters CResizeDlg::Parameters() const
{
    ResizeParameters parameters;
    parameters.currentWidth = m_math.CurrentWidth();
    parameters.currentHeight = m_math.CurrentHeight();
    parameters.newWidth = static_cast<int32_t>(m_math.NewWidth());
    parameters.newHeight = static_cast<int32_t>(m_math.NewHeight());
    return parameters;
}
