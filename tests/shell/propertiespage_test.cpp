// SPDX-License-Identifier: GPL-2.0-or-later
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "controls/colorbtn.h"
#include "platform/settings.h"
#include "plugins/paramrules.h"
#include "shell/controlsdlg.h"
#include "shell/formscroll.h"
#include "shell/telmplatesel.h"
#include "tests/shell/sheetfixture.h"

namespace
{

const QString InvalidJpeg =
    QStringLiteral("Please, input valid value for the parameter \"JPEG Quality (%)\"");

// Choosers that answer as a test script says and count what they were asked.
class ScriptedChoosers : public Choosers
{
public:
    QString openFile(const QString&, const QString&, const QString& filter) override
    {
        lastFilter = filter;
        return file;
    }
    QString saveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString folder(const QString& title, const QString&) override
    {
        lastTitle = title;
        return folderPath;
    }
    std::optional<uint32_t> colour(uint32_t initial) override
    {
        startColour = initial;
        return colourAnswer;
    }
    bool font(GVFontBlock& block) override
    {
        if (!fontFace)
            return false;
        std::strncpy(block.logFont.lfFaceName, fontFace, sizeof(block.logFont.lfFaceName) - 1);
        block.logFont.lfWeight = GV_FW_NORMAL;
        return true;
    }

    QString file, folderPath, lastFilter, lastTitle;
    std::optional<uint32_t> colourAnswer;
    uint32_t startColour = 0;
    const char* fontFace = nullptr;
};

GVParamInfo textParam(int32_t id, const char* name, int32_t type, const char* caption,
                      const char* text)
{
    GVParamInfo param;
    param.id = id;
    param.name = name;
    param.friendlyName = caption;
    param.description = "Where the album goes";
    param.type = type;
    param.values.push_back(GVParamValueInfo(PVK_VALUE, GVParamValue(text)));
    return param;
}

class PropertiesPageTest : public SheetTest
{
protected:
    CControlsDlg& page() { return static_cast<CControlsDlg&>(*sheet->Page(4)); }
    // The wizard on the image list page of a new album with the first test plug-in's
    // "Classic" template chosen on the theme page.
    void chooseClassic()
    {
        startSheet();
        walkTo(CAlbumSheet::ThemePage);
        auto& themes = static_cast<CTelmplateSel&>(*sheet->Page(CAlbumSheet::ThemePage));
        const std::vector<CPluginInfo>& plugins = app.Album().Plugins();
        for (size_t i = 0; i < plugins.size(); ++i) {
            if (QString::fromUtf8(plugins[i].GetName()) == QStringLiteral("Alpha")) {
                ASSERT_TRUE(themes.SelectTemplate(static_cast<int32_t>(i), 10));
            }
        }
        walkTo(CAlbumSheet::ImageListPage);
        ASSERT_GE(app.Album().Parameters(nullptr), 0);
    }
    // On to the properties page by Next.
    void openPage()
    {
        page().SetChoosers(scripted);
        walkTo(CAlbumSheet::PropertiesPage);
        settle();
    }
    void openClassic()
    {
        chooseClassic();
        openPage();
    }
    void next() { sheet->Button(CMyPropertySheet::ID_WIZNEXT)->click(); }
    QLineEdit& edit(const char* name)
    {
        const CControlsDlg::Row* row = page().RowOf(name);
        EXPECT_NE(row, nullptr);
        EXPECT_NE(row->edit, nullptr);
        return *row->edit;
    }
    const GVParamInfo& albumParam(const char* name)
    {
        for (const GVParamInfo& param : app.Album().ParameterList())
            if (paramrules::sameName(param.name.c_str(), name))
                return param;
        ADD_FAILURE() << name;
        static const GVParamInfo none;
        return none;
    }
    int setting(const QString& name) { return app.GetSettings().getInt("Settings", name, -1); }
    ScriptedChoosers scripted;
};

} // namespace

TEST_F(PropertiesPageTest, EveryParameterGetsItsRowControlButtonAndTooltip)
{
    openClassic();
    const std::vector<CControlsDlg::Row>& rows = page().Rows();
    ASSERT_EQ(rows.size(), 10u); // eight of the template, two of the host
    const CControlsDlg::Row& title = *page().RowOf("Title");
    EXPECT_EQ(title.caption->text(), QStringLiteral("Album title"));
    EXPECT_EQ(title.edit->text(), QStringLiteral("Summer Holidays"));
    EXPECT_EQ(title.control->property("controlId").toInt(), 5000);
    EXPECT_EQ(title.control->toolTip(), QStringLiteral("A parameter of the test plug-in"));
    EXPECT_EQ(title.button, nullptr);
    EXPECT_EQ(page().RowOf("Columns")->edit->text(), QStringLiteral("4"));
    EXPECT_EQ(page().RowOf("Style")->combo->currentText(), QStringLiteral("Dark"));
    EXPECT_EQ(page().RowOf("Style")->combo->count(), 3);
    const CControlsDlg::Row& file = *page().RowOf("Background");
    EXPECT_EQ(file.button->text(), QStringLiteral("Open"));
    EXPECT_EQ(file.buttonId, 2000);
    EXPECT_EQ(page().RowOf("TextColor")->colour->color(), 0x00336699u);
    EXPECT_EQ(page().RowOf("TextColor")->button->text(), QStringLiteral("Choose color"));
    EXPECT_EQ(page().RowOf("TextColor")->buttonId, 2001);
    const CControlsDlg::Row& font = *page().RowOf("TitleFont");
    EXPECT_EQ(font.sample->text(), QStringLiteral("AaBbYyZz"));
    EXPECT_EQ(font.sample->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(font.button->text(), QStringLiteral("Choose font"));
    EXPECT_EQ(page().RowOf("Pictures")->control, nullptr); // a separator
    EXPECT_EQ(page().RowOf("ThumbSize")->slider->value(), 160);
    EXPECT_EQ(page().RowOf("ThumbSize")->slider->maximum(), 400);
    EXPECT_EQ(page().RowOf("InterpolationMode")->combo->count(), 3);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage);
}

TEST_F(PropertiesPageTest, ActivationPutsTheFocusOnTheFirstRowsControl)
{
    chooseClassic();
    sheet->show();
    sheet->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
    openPage();
    settle();
    EXPECT_EQ(QApplication::focusWidget(), page().RowOf("Title")->edit);
}

TEST_F(PropertiesPageTest, JpegQualityOutsideOneToHundredIsRefusedWithTheMessage)
{
    openClassic();
    for (const char* text : {"0", "101"}) {
        edit("JPEGQuality").setText(text);
        next();
        EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage) << text;
        ASSERT_FALSE(prompter.texts.isEmpty());
        EXPECT_EQ(prompter.texts.last(), InvalidJpeg);
        EXPECT_EQ(edit("JPEGQuality").text(), QString::fromLatin1(text)); // kept as typed
    }
    const int messages = prompter.texts.size();
    edit("JPEGQuality").setText("1");
    next();
    EXPECT_EQ(prompter.texts.size(), messages);
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage + 1);
    EXPECT_EQ(paramrules::value(albumParam("JPEGQuality"))->number, 1);
    EXPECT_EQ(setting("JPEGQuality"), 1);
}

TEST_F(PropertiesPageTest, JpegQualityOfHundredIsAccepted)
{
    openClassic();
    edit("JPEGQuality").setText("100");
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage + 1);
    EXPECT_EQ(setting("JPEGQuality"), 100);
}

TEST_F(PropertiesPageTest, AnEmptyTextIsRefusedAndAnEmptyFolderAccepted)
{
    chooseClassic();
    app.Album().ParameterList().push_back(
        textParam(40, "Destination", PT_FOLDER, "Destination folder", "/tmp/out"));
    openPage();
    edit("Title").setText("");
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage);
    EXPECT_EQ(prompter.texts.last(),
              QStringLiteral("Please, input valid value for the parameter \"Album title\""));
    edit("Title").setText("Autumn");
    edit("Destination").setText("");
    next();
    EXPECT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage + 1);
    EXPECT_STREQ(paramrules::value(albumParam("Destination"))->text.c_str(), "");
    EXPECT_STREQ(paramrules::value(albumParam("Title"))->text.c_str(), "Autumn");
}

TEST_F(PropertiesPageTest, AChosenFileFillsTheFieldAndGivesItsExtensionToTheFileName)
{
    openClassic();
    scripted.file = QStringLiteral("/tmp/pics/sky.png");
    page().RowOf("Background")->button->click();
    EXPECT_EQ(scripted.lastFilter, QStringLiteral("Pictures (*.jpg *.png)"));
    EXPECT_EQ(edit("Background").text(), scripted.file);
    EXPECT_STREQ(albumParam("Background").values[1].value.text.c_str(), "images/bg.jpg");
    next();
    const GVParamInfo& file = albumParam("Background");
    EXPECT_STREQ(file.values[0].value.text.c_str(), "/tmp/pics/sky.png");
    EXPECT_EQ(file.values[0].kind, PVK_USER_VALUE);
    EXPECT_STREQ(file.values[1].value.text.c_str(), "images/bg.png");
}

TEST_F(PropertiesPageTest, AChosenFolderFillsTheFieldOnly)
{
    chooseClassic();
    app.Album().ParameterList().push_back(
        textParam(40, "Destination", PT_FOLDER, "Destination folder", "/tmp/out"));
    openPage();
    scripted.folderPath = QStringLiteral("/tmp/elsewhere");
    app.Album().SetModified(false);
    page().RowOf("Destination")->button->click();
    EXPECT_EQ(scripted.lastTitle, QStringLiteral("Choose a folder"));
    EXPECT_EQ(edit("Destination").text(), QStringLiteral("/tmp/elsewhere"));
    EXPECT_FALSE(app.Album().IsModified());
}

TEST_F(PropertiesPageTest, ChoicesAreStoredAndBilinearWritesInterpolationModeSix)
{
    openClassic();
    page().RowOf("Style")->combo->setCurrentText("Sepia");
    page().RowOf("InterpolationMode")->combo->setCurrentText("Bilinear");
    app.Album().SetModified(false);
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage + 1);
    EXPECT_TRUE(app.Album().IsModified());
    const GVParamInfo& style = albumParam("Style");
    EXPECT_EQ(style.values[1].kind, PVK_OPTION); // "Dark" no longer chosen
    EXPECT_EQ(style.values[2].kind, PVK_USER_VALUE);
    EXPECT_STREQ(paramrules::value(style)->text.c_str(), "Sepia");
    EXPECT_STREQ(paramrules::value(albumParam("InterpolationMode"))->text.c_str(), "Bilinear");
    EXPECT_EQ(setting("InterpolationMode"), 6);
}

TEST_F(PropertiesPageTest, AfterNextEveryValueIsTheUsersAndUnchangedValuesLeaveTheAlbumAlone)
{
    openClassic();
    app.Album().SetModified(false);
    next();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage + 1);
    EXPECT_FALSE(app.Album().IsModified());
    for (const GVParamInfo& param : app.Album().ParameterList()) {
        if (param.type == PT_SEPARATOR)
            continue;
        const int32_t index = paramrules::valueIndex(param);
        ASSERT_GE(index, 0) << param.name.c_str();
        EXPECT_EQ(param.values[index].kind, PVK_USER_VALUE) << param.name.c_str();
    }
    EXPECT_STREQ(paramrules::value(albumParam("Title"))->text.c_str(), "Summer Holidays");
    EXPECT_EQ(paramrules::value(albumParam("ThumbSize"))->number, 160);
    EXPECT_TRUE(albumParam("Pictures").values.empty());
}

TEST_F(PropertiesPageTest, BackStoresNothing)
{
    openClassic();
    edit("Title").setText("Not kept");
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    EXPECT_NE(sheet->GetActiveIndex(), CAlbumSheet::PropertiesPage);
    EXPECT_STREQ(paramrules::value(albumParam("Title"))->text.c_str(), "Summer Holidays");
}

TEST_F(PropertiesPageTest, AChosenColourIsStoredAtOnceInThePagesCopy)
{
    openClassic();
    scripted.colourAnswer = 0x00112233u;
    app.Album().SetModified(false);
    page().RowOf("TextColor")->button->click();
    EXPECT_EQ(scripted.startColour, 0x00336699u);
    EXPECT_EQ(page().RowOf("TextColor")->colour->color(), 0x00112233u);
    EXPECT_TRUE(app.Album().IsModified());
    const GVParamInfo& copy = page().PageParameters()[4];
    EXPECT_EQ(copy.values[0].kind, PVK_USER_VALUE);
    EXPECT_EQ(copy.values[0].value.number, 0x00112233);
    next();
    EXPECT_EQ(paramrules::value(albumParam("TextColor"))->number, 0x00112233);
}

TEST_F(PropertiesPageTest, AChosenFontRedrawsTheSampleAndMarksTheAlbumModified)
{
    openClassic();
    app.Album().SetModified(false);
    scripted.fontFace = nullptr; // cancelled
    page().RowOf("TitleFont")->button->click();
    EXPECT_FALSE(app.Album().IsModified());
    scripted.fontFace = "DejaVu Serif";
    page().RowOf("TitleFont")->button->click();
    EXPECT_TRUE(app.Album().IsModified());
    EXPECT_EQ(page().RowOf("TitleFont")->sample->font().family(), QStringLiteral("DejaVu Serif"));
    const GVParamInfo& copy = page().PageParameters()[5];
    EXPECT_EQ(copy.values[0].kind, PVK_USER_VALUE);
    EXPECT_STREQ(copy.values[0].value.font->logFont.lfFaceName, "DejaVu Serif");
}

TEST_F(PropertiesPageTest, TheFormIsRebuiltOnlyWhenTheParametersChanged)
{
    openClassic();
    EXPECT_EQ(page().BuildCount(), 1);
    edit("Title").setText("Typed");
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    openPage();
    EXPECT_EQ(page().BuildCount(), 1);
    EXPECT_EQ(edit("Title").text(), QStringLiteral("Typed")); // the form stayed
    edit("Title").setText("Stored");
    next();
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    openPage();
    EXPECT_EQ(page().BuildCount(), 1); // the album holds what the page holds
    // Another template brings other parameters.
    const int32_t plugin = app.Album().PluginIndex();
    ASSERT_TRUE(app.Album().ChooseTemplate(plugin, 20));
    sheet->Button(CMyPropertySheet::ID_WIZBACK)->click();
    openPage();
    EXPECT_EQ(page().BuildCount(), 2);
    EXPECT_EQ(page().RowOf("Title"), nullptr);
    EXPECT_EQ(page().RowOf("Gap"), nullptr); // hidden numbers get no row
    EXPECT_NE(page().RowOf("JPEGQuality"), nullptr);
}

TEST(FormScroll, RangeLinesWheelAndLimits)
{
    using namespace formscroll;
    EXPECT_EQ(Range(0), 0);
    EXPECT_EQ(Range(300), 300);
    EXPECT_EQ(Range(301), 330);
    EXPECT_EQ(BarTarget(BarAction::LineUp, 60, 0), 30);
    EXPECT_EQ(BarTarget(BarAction::LineDown, 60, 0), 90);
    EXPECT_EQ(BarTarget(BarAction::PageUp, 120, 0), 30);
    EXPECT_EQ(BarTarget(BarAction::PageDown, 120, 0), 210);
    EXPECT_EQ(BarTarget(BarAction::Thumb, 120, 47), 47);
    EXPECT_EQ(BarTarget(BarAction::Other, 120, 47), 120);
    EXPECT_EQ(WheelStep(120), -30);
    EXPECT_EQ(WheelStep(-240), 60);
    EXPECT_EQ(WheelStep(119), 0);
    EXPECT_EQ(WheelStep(-359), 60);
    EXPECT_EQ(Clamp(-5, 330, 900), 0);
    EXPECT_EQ(Clamp(1000, 330, 900), 570);
    EXPECT_EQ(Clamp(1000, 335, 905), 570); // both in whole lines
    EXPECT_EQ(Clamp(200, 330, 900), 200);
    EXPECT_EQ(Clamp(30, 330, 300), 0); // a page taller than the form
}

TEST_F(PropertiesPageTest, FortyParametersWithLongCaptionsScrollByBarWheelAndFocus)
{
    chooseClassic();
    for (int i = 0; i < 40; ++i) {
        const std::string name = "Extra" + std::to_string(i);
        app.Album().ParameterList().push_back(textParam(
            100 + i, name.c_str(), PT_TEXT,
            "A rather long caption that needs more than one line in the caption column", "x"));
    }
    openPage();
    ASSERT_EQ(page().Rows().size(), 50u);
    QScrollBar& bar = page().ScrollBar();
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(page().ScrollPosition(), 0);
    const CControlsDlg::Row& last = page().Rows().back();
    const int formHeight = last.control->geometry().bottom() + 1;
    EXPECT_EQ((bar.maximum() + bar.pageStep()) % 30, 0);
    EXPECT_GE(bar.maximum() + bar.pageStep(), formHeight);
    EXPECT_LT(bar.maximum() + bar.pageStep(), formHeight + 30 + 6);
    // Captions wrap instead of running into the controls.
    EXPECT_GT(last.caption->height(), last.caption->fontMetrics().height());
    EXPECT_LE(last.caption->geometry().right(), last.control->geometry().left());

    bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(page().ScrollPosition(), 30);
    bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(page().ScrollPosition(), 120);
    bar.triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(page().ScrollPosition(), 90);
    EXPECT_EQ(bar.value(), 90);
    EXPECT_EQ(page().Rows().front().control->mapTo(&page().Frame(), QPoint()).y(),
              page().Rows().front().control->y() - 90);

    const QPointF centre(page().Frame().geometry().center());
    QWheelEvent away(centre, centre, QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&page(), &away);
    EXPECT_EQ(page().ScrollPosition(), 60);
    QWheelEvent toward(centre, centre, QPoint(), QPoint(0, -360), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&page(), &toward);
    EXPECT_EQ(page().ScrollPosition(), 150);
    page().ScrollBy(100000);
    EXPECT_EQ(page().ScrollPosition(), bar.maximum());
    page().ScrollBy(-100000);
    EXPECT_EQ(page().ScrollPosition(), 0);

    // A field below the frame's bottom that takes the focus moves the form one line down.
    QLineEdit* below = nullptr;
    for (const CControlsDlg::Row& row : page().Rows())
        if (row.edit && row.edit->mapTo(&page().Frame(), QPoint()).y() + row.edit->height() >
                            page().Frame().height()) {
            below = row.edit;
            break;
        }
    ASSERT_NE(below, nullptr);
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QCoreApplication::sendEvent(below, &in);
    EXPECT_EQ(page().ScrollPosition(), 30);
    // One above the frame's top moves it one line up.
    page().ScrollBy(300);
    const int before = page().ScrollPosition();
    QCoreApplication::sendEvent(page().Rows().front().edit, &in);
    EXPECT_EQ(page().ScrollPosition(), before - 30);

    // The wheel over a list the user is not working with scrolls the form, not the list.
    page().ScrollBy(-100000);
    QComboBox& style = *page().RowOf("Style")->combo;
    const int option = style.currentIndex();
    QWheelEvent overList(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&style, &overList);
    EXPECT_EQ(page().ScrollPosition(), 30);
    EXPECT_EQ(style.currentIndex(), option);
}

TEST_F(PropertiesPageTest, TheClassicFormWithEveryKindOfControl)
{
    useShippedGraphics();
    chooseClassic();
    app.Album().ParameterList().push_back(
        textParam(40, "Destination", PT_FOLDER, "Destination folder", "/tmp/out"));
    openPage();
    EXPECT_TRUE(page().ScrollBar().isHidden() || page().ScrollBar().maximum() > 0);
    saveScreenshot(page(), QStringLiteral("page4-properties-form"));
}
