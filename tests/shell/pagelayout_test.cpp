// SPDX-License-Identifier: GPL-2.0-or-later
// Every page as the user reaches it with the wizard's real Next and Back buttons: its one-time
// set-up has run, so its controls sit in their places inside the page, none empty and none on
// top of another.
#include <functional>

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

#include "controls/controllisting.h"
#include "controls/imagebutton.h"
#include "shell/myimage.h"
#include "tests/shell/sheetfixture.h"

namespace
{

class PageLayoutTest : public SheetTest
{
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        useShippedGraphics();
    }
    // Lying over another control on purpose: the preview picture in its frame, and the
    // picture over the empty image lists, which lets the clicks through to them.
    static bool overlapsOnPurpose(const QWidget& a, const QWidget& b)
    {
        auto isPreview = [](const QWidget& w) { return qobject_cast<const CMyImage*>(&w); };
        auto isFrame = [](const QWidget& w) {
            return w.objectName() == QStringLiteral("previewFrame");
        };
        auto isSplash = [](const QWidget& w) {
            return qobject_cast<const QLabel*>(&w) &&
                   w.testAttribute(Qt::WA_TransparentForMouseEvents);
        };
        return (isPreview(a) && isFrame(b)) || (isPreview(b) && isFrame(a)) || isSplash(a) ||
               isSplash(b);
    }
    static QString nameOf(QWidget& control) { return controllisting::Describe(control); }
    // The active page's visible controls: inside the page, not empty, not overlapping.
    void expectPlaced(const char* how)
    {
        settle();
        const int index = sheet->GetActiveIndex();
        QWidget& page = *sheet->Page(index);
        const std::vector<QWidget*> controls = controllisting::VisibleControls(page);
        EXPECT_GE(controls.size(), 2u) << "page " << index << " reached by " << how;
        std::vector<QRect> places;
        for (QWidget* control : controls) {
            const QRect place(control->mapTo(&page, QPoint(0, 0)), control->size());
            places.push_back(place);
            EXPECT_FALSE(place.isEmpty()) << nameOf(*control).toStdString() << " on page "
                                          << index << " reached by " << how;
            EXPECT_TRUE(page.rect().contains(place))
                << nameOf(*control).toStdString() << " outside page " << index << " reached by "
                << how;
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) {
                if (overlapsOnPurpose(*controls[i], *controls[j]))
                    continue;
                EXPECT_FALSE(places[i].intersects(places[j]))
                    << nameOf(*controls[i]).toStdString() << " overlaps "
                    << nameOf(*controls[j]).toStdString() << " on page " << index
                    << " reached by " << how;
            }
        }
        ++checked[index];
    }
    // Every visible control of the wizard, its own buttons too, has a name to be read out.
    void expectNamed(const char* how)
    {
        settle();
        for (QWidget* control : controllisting::VisibleControls(*sheet)) {
            const QString name = controllisting::SpokenName(*control);
            EXPECT_FALSE(name.trimmed().isEmpty())
                << nameOf(*control).toStdString() << " on page " << sheet->GetActiveIndex()
                << " reached by " << how;
            EXPECT_FALSE(name.contains(u'&')) << nameOf(*control).toStdString();
        }
    }
    // Captions are not cut: each button, check box and one-line label is as wide as its
    // text needs with the fonts the desktop gives it.
    void expectTextFits(const char* how)
    {
        settle();
        for (QWidget* control : controllisting::VisibleControls(*sheet)) {
            const auto* image = qobject_cast<const CImageButton*>(control);
            const auto* label = qobject_cast<const QLabel*>(control);
            const auto* button = qobject_cast<const QAbstractButton*>(control);
            const bool textual = (button && !image && !button->text().isEmpty()) ||
                                 (label && !label->wordWrap() && label->pixmap().isNull() &&
                                  !label->text().isEmpty());
            if (image && !image->hasImage()) {
                EXPECT_LE(image->sizeHint().width(), image->width())
                    << nameOf(*control).toStdString();
            }
            if (!textual)
                continue;
            EXPECT_LE(control->sizeHint().width(), control->width())
                << nameOf(*control).toStdString() << " cut on page " << sheet->GetActiveIndex()
                << " reached by " << how;
        }
    }
    // The road through every page: the album manager and back, then a new album to the
    // final page and back to the welcome page; check runs on every page reached.
    void walkEveryPage(const std::function<void(const char*)>& check)
    {
        startSheet();
        sheet->show();
        check("starting");
        chooseOnWelcome(false);
        ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::AlbumManagerPage);
        check("Next");
        clickBack();
        check("Back");
        chooseOnWelcome(true);
        for (int page = CAlbumSheet::ThemePage; page <= CAlbumSheet::FinalPage; ++page) {
            walkTo(page);
            ASSERT_EQ(sheet->GetActiveIndex(), page);
            check("Next");
        }
        for (int page = CAlbumSheet::GenerationPage; page >= CAlbumSheet::ThemePage; --page) {
            clickBack();
            ASSERT_EQ(sheet->GetActiveIndex(), page);
            check("Back");
        }
        clickBack(); // a new album goes back to the welcome page
        ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::WelcomePage);
    }
    int checked[CAlbumSheet::PageTotal] = {};
};

} // namespace

TEST_F(PageLayoutTest, EveryPageReachedByNextAndByBackHasItsControlsInPlace)
{
    walkEveryPage([this](const char* how) { expectPlaced(how); });
    for (int page = 0; page < CAlbumSheet::PageTotal; ++page)
        EXPECT_GE(checked[page], 1) << page;
}

TEST_F(PageLayoutTest, NoCaptionIsCutAtTheSmallestSize)
{
    walkEveryPage([this](const char* how) { expectTextFits(how); });
}

TEST_F(PageLayoutTest, EveryVisibleControlHasANameToBeReadOut)
{
    walkEveryPage([this](const char* how) { expectNamed(how); });
}

TEST_F(PageLayoutTest, AnAlbumOnTheCommandLineOpensOnAThemePageInPlace)
{
    const QString project = savedProject();
    startSheet({project});
    sheet->show();
    ASSERT_EQ(sheet->GetActiveIndex(), CAlbumSheet::ThemePage);
    expectPlaced("the command line");
    clickBack();
    expectPlaced("Back");
}

TEST_F(PageLayoutTest, AnEnlargedWizardGivesItsListsPreviewAndFormTheRoom)
{
    // Sizes of the growing controls at the smallest window, then in a larger one.
    auto sizesOf = [this](auto... controls) { return std::vector<QSize>{controls->size()...}; };
    startSheet();
    sheet->show();
    chooseOnWelcome(false);
    auto& albums = *sheet->Page(CAlbumSheet::AlbumManagerPage)->findChild<QListWidget*>();
    const std::vector<QSize> small = sizesOf(&albums);
    sheet->resize(900, 760);
    settle();
    expectPlaced("Next in a larger window");
    const std::vector<QSize> large = sizesOf(&albums);
    EXPECT_EQ(large[0], small[0] + QSize(302, 212));
    // The wizard's buttons keep to the bottom edge.
    EXPECT_EQ(sheet->Button(CMyPropertySheet::ID_WIZNEXT)->geometry().bottom(), 760 - 17);
    clickBack();
    chooseOnWelcome(true);
    for (int page = CAlbumSheet::ThemePage; page <= CAlbumSheet::FinalPage; ++page) {
        walkTo(page);
        expectPlaced("Next in a larger window");
        if (page == CAlbumSheet::ImageListPage || page == CAlbumSheet::PropertiesPage)
            saveScreenshot(*sheet, QStringLiteral("enlarged-page%1").arg(page));
    }
    auto& list = static_cast<CAddImageDlg&>(*sheet->Page(CAlbumSheet::ImageListPage));
    EXPECT_EQ(list.TitleList().height(), 160 + 106);
    EXPECT_EQ(list.Preview().size(), QSize(165 + 100, 140 + 106));
    auto& form = *sheet->Page(CAlbumSheet::PropertiesPage)->findChild<QScrollBar*>();
    EXPECT_EQ(form.height(), 11 * 30 + 212);
    // Back at the smallest size, each page shown is as it was designed.
    sheet->resize(598, 548);
    settle();
    for (int page = CAlbumSheet::GenerationPage; page >= CAlbumSheet::ImageListPage; --page)
        clickBack();
    EXPECT_EQ(list.TitleList().size(), QSize(150, 160));
    expectPlaced("Back in the smallest window");
}
