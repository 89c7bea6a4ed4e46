// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/controlsdlg.h"

#include <cstdlib>
#include <cstring>

#include <QComboBox>
#include <QFocusEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "controls/colorbtn.h"
#include "platform/choosers.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "plugins/parameditor.h"
#include "plugins/paramrules.h"
#include "shell/formscroll.h"
#include "shell/gvapp.h"
#include "shell/mypropertysheet.h"

namespace
{

// The frame the rows are placed in, and the bar beside it. The frame is a whole number of
// lines high, so that the last line of the form can always be scrolled into view.
const QRect FrameArea(24, 96, 528, 11 * formscroll::Line);
constexpr int BarWidth = 16;
constexpr int CaptionWidth = 170;
constexpr int ControlLeft = 184;
constexpr int ButtonWidth = 92;
constexpr int Gap = 6;
constexpr int FieldHeight = 24;
constexpr int MaxSampleHeight = 48;
const char* const ControlIdProperty = "controlId";

bool sameValue(const GVParamInfo& a, const GVParamInfo& b)
{
    if (!paramrules::sameName(a.name.c_str(), b.name.c_str()))
        return false;
    const GVParamValue* left = paramrules::value(a);
    const GVParamValue* right = paramrules::value(b);
    if (left == nullptr || right == nullptr)
        return left == right;
    if (a.type == PT_FONT) {
        if (left->font == nullptr || right->font == nullptr)
            return left->font == right->font;
        return std::memcmp(left->font, right->font, sizeof(GVFontBlock)) == 0;
    }
    return left->number == right->number &&
           std::strcmp(left->text.c_str(), right->text.c_str()) == 0;
}

bool sameParameters(const gv_vector<GVParamInfo>& a, const gv_vector<GVParamInfo>& b)
{
    if (a.size() != b.size())
        return false;
    for (int32_t i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i]))
            return false;
    return true;
}

// Parameters that hold no value the page could store.
bool holdsNoValue(int32_t type)
{
    return type == PT_NONE_9 || type == PT_NONE_10 || type == PT_SEPARATOR;
}

QFont fontOf(const GVFontBlock& block, const QFont& fallback)
{
    QFont font = fallback;
    const QString family = QString::fromLocal8Bit(
        block.logFont.lfFaceName,
        static_cast<int>(strnlen(block.logFont.lfFaceName, sizeof(block.logFont.lfFaceName))));
    if (!family.isEmpty())
        font.setFamily(family);
    const int height = std::abs(block.logFont.lfHeight);
    if (height > 0)
        font.setPixelSize(std::min(height, MaxSampleHeight - 8));
    if (block.logFont.lfWeight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(block.logFont.lfWeight, 1, 1000)));
    font.setItalic(block.logFont.lfItalic != 0);
    font.setUnderline(block.logFont.lfUnderline != 0);
    font.setStrikeOut(block.logFont.lfStrikeOut != 0);
    return font;
}

QColor colourOf(uint32_t colorref)
{
    return QColor(static_cast<int>(colorref & 0xFF), static_cast<int>((colorref >> 8) & 0xFF),
                  static_cast<int>((colorref >> 16) & 0xFF));
}

int16_t asShort(int32_t number)
{
    return static_cast<int16_t>(number);
}

} // namespace

CControlsDlg::CControlsDlg(CGVApp& app, Choosers& choosers, QWidget* parent)
    : CBasePage(PageIndex, parent), m_app(app), m_choosers(&choosers), m_frame(new QWidget(this)),
      m_bar(new QScrollBar(Qt::Vertical, this))
{
    m_bar->hide();
    m_bar->setAccessibleName(loadString(IDS_NAME_FORM_SCROLL));
    m_bar->setSingleStep(formscroll::Line);
    m_bar->setPageStep(FrameArea.height());
    connect(m_bar, &QScrollBar::actionTriggered, this, [this](int action) {
        formscroll::BarAction what = formscroll::BarAction::Other;
        switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            what = formscroll::BarAction::LineUp;
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            what = formscroll::BarAction::LineDown;
            break;
        case QAbstractSlider::SliderPageStepSub:
            what = formscroll::BarAction::PageUp;
            break;
        case QAbstractSlider::SliderPageStepAdd:
            what = formscroll::BarAction::PageDown;
            break;
        case QAbstractSlider::SliderMove:
            what = formscroll::BarAction::Thumb;
            break;
        default:
            break;
        }
        const int target =
            formscroll::Clamp(formscroll::BarTarget(what, m_position, m_bar->sliderPosition()),
                              m_frame->height(), m_range);
        m_bar->setSliderPosition(target);
    });
    connect(m_bar, &QScrollBar::valueChanged, this, [this](int value) { scrollTo(value); });
}

void CControlsDlg::PlaceControls()
{
    // A taller page shows more rows of the form; its rows keep their width.
    const QRect frame = FrameArea.adjusted(0, 0, 0, Extra().height());
    m_frame->setGeometry(frame);
    m_bar->setGeometry(frame.right() + 4, frame.top(), BarWidth, frame.height());
    if (m_form != nullptr)
        updateScrolling();
}

bool CControlsDlg::OnSetActive()
{
    Initialise();
    Sheet()->SetWizardButtons(CMyPropertySheet::PSWIZB_BACK | CMyPropertySheet::PSWIZB_NEXT);
    QTimer::singleShot(0, this, [this] {
        for (const Row& row : m_rows) {
            if (row.control != nullptr) {
                QWidget* target = row.edit    ? static_cast<QWidget*>(row.edit)
                                  : row.combo ? static_cast<QWidget*>(row.combo)
                                              : row.control;
                target->setFocus(Qt::OtherFocusReason);
                return;
            }
        }
    });
    return true;
}

void CControlsDlg::Initialise()
{
    gv_vector<GVParamInfo> current;
    if (m_app.Album().Parameters(&current) < 0)
        current.clear();
    if (m_fetched && sameParameters(current, m_params))
        return;
    m_fetched = true;
    m_params = current;
    buildForm();
}

const CControlsDlg::Row* CControlsDlg::RowOf(const char* name) const
{
    for (const Row& row : m_rows)
        if (paramrules::sameName(m_params[row.param].name.c_str(), name))
            return &row;
    return nullptr;
}

void CControlsDlg::buildForm()
{
    ++m_builds;
    m_rows.clear();
    delete m_form; // the rows' controls go with it
    m_form = new QWidget(m_frame);
    m_form->setToolTip(QString());
    m_position = 0;
    int top = 0;
    for (int32_t i = 0; i < m_params.size(); ++i)
        addRow(i, top);
    m_form->setGeometry(0, 0, m_frame->width(), std::max(top, 1));
    m_form->show();
    updateScrolling();
}

void CControlsDlg::updateScrolling()
{
    const int height = m_form->height();
    if (height > m_frame->height()) {
        m_range = formscroll::Range(height);
        m_bar->setRange(0, std::max(0, m_range - m_frame->height()));
        m_bar->setPageStep(m_frame->height());
        m_bar->show();
        // The rows shown stay as far as the taller frame allows.
        const int position = formscroll::Clamp(m_position, m_frame->height(), m_range);
        m_position = -1;
        scrollTo(position);
    } else {
        m_range = 0;
        m_position = 0;
        m_form->move(0, 0);
        m_bar->setRange(0, 0);
        m_bar->hide();
    }
}

void CControlsDlg::addRow(int32_t index, int& top)
{
    const GVParamInfo& param = m_params[index];
    const QString caption = QString::fromUtf8(param.friendlyName.c_str());
    const QString tip = QString::fromUtf8(param.description.c_str());
    const int width = m_frame->width();
    if (param.type == PT_SEPARATOR) {
        Row row;
        row.param = index;
        row.caption = new QLabel(caption, m_form);
        row.caption->setWordWrap(true);
        QFont bold = row.caption->font();
        bold.setBold(true);
        row.caption->setFont(bold);
        const int captionHeight = row.caption->heightForWidth(width - 8);
        row.caption->setGeometry(4, top + Gap, width - 8, captionHeight);
        auto* line = new QFrame(m_form);
        line->setFrameShape(QFrame::HLine);
        line->setFrameShadow(QFrame::Sunken);
        line->setGeometry(4, top + Gap + captionHeight + 2, width - 8, 2);
        row.caption->setToolTip(tip);
        top += Gap + captionHeight + 2 + 2 + Gap;
        m_rows.push_back(row);
        return;
    }
    Row row;
    row.param = index;
    const GVParamValue* value = paramrules::value(param);
    int controlHeight = FieldHeight;
    int buttonCaption = 0;
    switch (param.type) {
    case PT_NUMBER: {
        auto* box = new QWidget(m_form);
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        row.edit = new QLineEdit(box);
        row.edit->setMaxLength(MaxFieldText);
        row.edit->setText(QString::number(value ? value->number : 0));
        layout->addWidget(row.edit);
        auto* spin = new QWidget(box);
        auto* arrows = new QVBoxLayout(spin);
        arrows->setContentsMargins(0, 0, 0, 0);
        arrows->setSpacing(0);
        const int low = asShort(paramrules::bound(param, PVK_MINIMUM, 0));
        const int high = asShort(paramrules::bound(param, PVK_MAXIMUM, 0));
        for (const int step : {1, -1}) {
            auto* arrow = new QToolButton(spin);
            arrow->setArrowType(step > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setToolTip(loadString(step > 0 ? IDS_NAME_INCREASE : IDS_NAME_DECREASE));
            arrow->setFixedSize(18, FieldHeight / 2);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setAutoRepeat(true);
            QLineEdit* edit = row.edit;
            connect(arrow, &QToolButton::clicked, box, [edit, step, low, high] {
                const int number = paramrules::integerValue(edit->text().toUtf8().constData());
                edit->setText(QString::number(
                    std::clamp(number + step, std::min(low, high), std::max(low, high))));
            });
            arrows->addWidget(arrow);
        }
        layout->addWidget(spin);
        row.control = box;
        break;
    }
    case PT_TEXT:
    case PT_FILE:
    case PT_FILE_2:
    case PT_FOLDER:
        row.edit = new QLineEdit(m_form);
        row.edit->setMaxLength(MaxFieldText);
        row.edit->setText(value ? QString::fromUtf8(value->text.c_str()) : QString());
        row.control = row.edit;
        if (param.type == PT_FOLDER)
            buttonCaption = IDS_PARAM_BROWSE_BUTTON;
        else if (param.type != PT_TEXT)
            buttonCaption = IDS_OPEN_BUTTON;
        break;
    case PT_CHOICE: {
        row.combo = new QComboBox(m_form);
        const QStringList options = CParamEditor::Options(param);
        row.combo->addItems(options);
        int selected = -1, option = 0;
        for (const GVParamValueInfo& entry : param.values) {
            if (entry.kind == PVK_VALUE || entry.kind == PVK_USER_VALUE)
                selected = option;
            if (entry.kind == PVK_VALUE || entry.kind == PVK_OPTION || entry.kind == PVK_USER_VALUE)
                ++option;
        }
        row.combo->setCurrentIndex(selected);
        row.control = row.combo;
        break;
    }
    case PT_COLOR:
        row.colour = new CColorBtn(m_form);
        row.colour->setChoosers(m_choosers);
        if (!param.values.empty())
            row.colour->setColor(static_cast<uint32_t>(param.values[0].value.number));
        connect(row.colour, &CColorBtn::colorChanged, this, [this, index](uint32_t colour) {
            if (CParamEditor::StoreColour(m_params[index], colour))
                m_app.Album().MarkModified();
        });
        row.control = row.colour;
        buttonCaption = IDS_PARAM_CHOOSE_COLOR;
        break;
    case PT_FONT:
        row.sample = new QLabel(loadString(IDS_PARAM_FONT_SAMPLE), m_form);
        row.sample->setFocusPolicy(Qt::NoFocus);
        row.control = row.sample;
        controlHeight = MaxSampleHeight;
        buttonCaption = IDS_PARAM_CHOOSE_FONT;
        break;
    case PT_SLIDER: {
        row.slider = new QSlider(Qt::Horizontal, m_form);
        row.slider->setTickPosition(QSlider::TicksBelow);
        const int low = paramrules::bound(param, PVK_MINIMUM, 0);
        const int high = paramrules::bound(param, PVK_MAXIMUM, 0);
        row.slider->setRange(std::min(low, high), std::max(low, high));
        row.slider->setTickInterval(
            std::max(1, (row.slider->maximum() - row.slider->minimum()) / 10));
        row.slider->setValue(value ? value->number : 0);
        row.control = row.slider;
        controlHeight = FieldHeight + 6;
        break;
    }
    default:
        return; // no control: the parameter keeps its value
    }
    row.caption = new QLabel(caption, m_form);
    row.caption->setWordWrap(true);
    row.caption->setToolTip(tip);
    const int captionHeight = row.caption->heightForWidth(CaptionWidth);
    const int rowHeight = std::max(captionHeight, controlHeight);
    // A one-line caption stands level with the text of its field.
    const int captionTop = captionHeight < FieldHeight ? (FieldHeight - captionHeight) / 2 : 0;
    row.caption->setGeometry(4, top + Gap + captionTop, CaptionWidth, captionHeight);
    int controlWidth = width - ControlLeft - 4;
    if (buttonCaption != 0) {
        controlWidth -= ButtonWidth + Gap;
        row.button = new QPushButton(loadString(buttonCaption), m_form);
        int buttons = 0;
        for (const Row& other : m_rows)
            buttons += other.button != nullptr ? 1 : 0;
        row.buttonId = ButtonIdBase + buttons;
        row.button->setProperty(ControlIdProperty, row.buttonId);
        row.button->setToolTip(tip);
        row.button->setGeometry(width - 4 - ButtonWidth, top + Gap, ButtonWidth, FieldHeight);
        row.button->installEventFilter(this);
    }
    if (row.colour != nullptr)
        controlWidth = std::min(controlWidth, 60);
    row.control->setProperty(ControlIdProperty, ControlIdBase + param.id);
    row.control->setToolTip(tip);
    // The caption names the field for screen readers.
    row.caption->setBuddy(row.edit != nullptr ? row.edit : row.control);
    row.control->setGeometry(ControlLeft, top + Gap, controlWidth, controlHeight);
    for (QWidget* watched : {static_cast<QWidget*>(row.edit), static_cast<QWidget*>(row.combo),
                             static_cast<QWidget*>(row.slider), static_cast<QWidget*>(row.colour)})
        if (watched != nullptr)
            watched->installEventFilter(this);
    top += Gap + rowHeight;
    m_rows.push_back(row);
    if (row.sample != nullptr)
        showFont(m_rows.back());
    if (row.button != nullptr) {
        const size_t position = m_rows.size() - 1;
        connect(row.button, &QAbstractButton::clicked, this,
                [this, position] { buttonClicked(m_rows[position]); });
    }
}

void CControlsDlg::showFont(const Row& row)
{
    const GVParamInfo& param = m_params[row.param];
    if (param.values.empty() || param.values[0].value.font == nullptr)
        return;
    const GVFontBlock& block = *param.values[0].value.font;
    row.sample->setFont(fontOf(block, font()));
    QPalette palette = row.sample->palette();
    palette.setColor(QPalette::WindowText, colourOf(block.chooseFont.rgbColors));
    row.sample->setPalette(palette);
}

void CControlsDlg::buttonClicked(const Row& row)
{
    GVParamInfo& param = m_params[row.param];
    switch (param.type) {
    case PT_FILE:
    case PT_FILE_2: {
        const QString filter = param.values.size() > 2
                                   ? QString::fromUtf8(param.values[2].value.text.c_str())
                                   : QString();
        const QString path = m_choosers->openFile(QString(), row.edit->text(), filter);
        if (!path.isEmpty())
            row.edit->setText(path);
        break;
    }
    case PT_FOLDER: {
        const QString folder =
            m_choosers->folder(loadString(IDS_PARAM_CHOOSE_FOLDER), row.edit->text());
        if (!folder.isEmpty())
            row.edit->setText(folder);
        break;
    }
    case PT_COLOR:
        row.colour->choose(); // the swatch stores what was chosen
        break;
    case PT_FONT: {
        if (param.values.empty() || param.values[0].value.font == nullptr)
            return; // an entry without a font block keeps no font
        GVFontBlock block = *param.values[0].value.font;
        if (!m_choosers->font(block))
            return;
        if (CParamEditor::StoreFont(param, block)) {
            showFont(row);
            m_app.Album().MarkModified();
        }
        break;
    }
    default:
        break;
    }
}

QString CControlsDlg::fieldText(const Row* row, const GVParamInfo& param) const
{
    QString text;
    if (row == nullptr)
        text = CParamEditor::ValueText(param); // no control: the value stays as it is
    else if (row->edit != nullptr)
        text = row->edit->text();
    else if (row->combo != nullptr)
        text = row->combo->currentText();
    else if (row->slider != nullptr)
        text = QString::number(row->slider->value());
    else
        text = CParamEditor::ValueText(param);
    return text.left(MaxFieldText);
}

std::vector<const CControlsDlg::Row*> CControlsDlg::rowsByParam() const
{
    std::vector<const Row*> rowOf(static_cast<size_t>(m_params.size()), nullptr);
    for (const Row& row : m_rows)
        rowOf[static_cast<size_t>(row.param)] = &row;
    return rowOf;
}

int CControlsDlg::OnWizardNext()
{
    const std::vector<const Row*> rowOf = rowsByParam();
    for (int32_t i = 0; i < m_params.size(); ++i) {
        const GVParamInfo& param = m_params[i];
        if (!CParamEditor::PageCheck(param, fieldText(rowOf[static_cast<size_t>(i)], param))) {
            m_app.GetPrompter().message(CParamEditor::InvalidValueMessage(param),
                                        Prompter::Icon::Error);
            return Stay;
        }
    }
    storeValidFields(rowOf);
    return Default;
}

void CControlsDlg::StoreToAlbum()
{
    if (m_fetched)
        storeValidFields(rowsByParam());
}

void CControlsDlg::storeValidFields(const std::vector<const Row*>& rowOf)
{
    AlbumProject& album = m_app.Album();
    for (int32_t i = 0; i < m_params.size(); ++i) {
        GVParamInfo& param = m_params[i];
        const QString text = fieldText(rowOf[static_cast<size_t>(i)], param);
        if (holdsNoValue(param.type) || !CParamEditor::PageCheck(param, text))
            continue;
        if (CParamEditor::StoreFieldText(param, text))
            album.MarkModified();
    }
    CParamEditor::WriteHostSettings(m_params, m_app.GetSettings());
    album.ParameterList() = m_params;
}

void CControlsDlg::ScrollBy(int delta)
{
    scrollTo(m_position + delta);
}

void CControlsDlg::scrollTo(int position)
{
    if (m_range == 0)
        return;
    position = formscroll::Clamp(position, m_frame->height(), m_range);
    if (position == m_position)
        return;
    m_position = position;
    m_form->move(0, -m_position);
    m_bar->setValue(m_position);
}

void CControlsDlg::FollowFocus(QWidget* control)
{
    if (control == nullptr || m_form == nullptr || !m_form->isAncestorOf(control))
        return;
    const QRect area(control->mapTo(m_frame, QPoint(0, 0)), control->size());
    if (area.bottom() >= m_frame->height())
        ScrollBy(formscroll::Line);
    else if (area.top() < 0)
        ScrollBy(-formscroll::Line);
}

void CControlsDlg::wheelEvent(QWheelEvent* event)
{
    if (m_range == 0) {
        event->ignore();
        return;
    }
    ScrollBy(formscroll::WheelStep(event->angleDelta().y()));
    event->accept();
}

void CControlsDlg::keyReleaseEvent(QKeyEvent* event)
{
    // Tabbing onto a field that cannot be seen brings the form one line on.
    const QWidget* focus = focusWidget();
    if (event->key() == Qt::Key_Tab && focus != nullptr && !focus->isVisible() && m_position > 0)
        ScrollBy(formscroll::Line);
    CBasePage::keyReleaseEvent(event);
}

bool CControlsDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched->isWidgetType())
        FollowFocus(static_cast<QWidget*>(watched));
    // The wheel over a list or slider that the user is not working with scrolls the form
    // instead of changing the value under the pointer.
    if (event->type() == QEvent::Wheel &&
        (qobject_cast<QComboBox*>(watched) != nullptr ||
         qobject_cast<QSlider*>(watched) != nullptr) &&
        !static_cast<QWidget*>(watched)->hasFocus()) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return CBasePage::eventFilter(watched, event);
}
