// SPDX-License-Identifier: GPL-2.0-or-later
// Printing: the page drawn into real PDF files (rendered back to look at them), the print
// program started with the photo, and the note with its "Don't show" answer remembered.
#include <functional>

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include "controls/hyperlink.h"
#include "enhancer/ui/imageprint.h"
#include "enhancer/ui/noprinterdlg.h"
#include "platform/settings.h"
#include "shell/skinscheme.h"
#include "tests/lumivex/viewfixture.h"

namespace
{
// The first page of a PDF file as a picture at dpi, through the poppler renderer.
QImage RenderPage(const QString& pdf, int dpi)
{
    const QString base = pdf + QStringLiteral("-page");
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(dpi),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                              pdf, base});
    if (!render.waitForFinished(60000) || render.exitCode() != 0)
        return {};
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
}

// The bounding box of the pixels that are not paper white.
QRect Printed(const QImage& page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 240)
                box |= QRect(x, y, 1, 1);
    return box;
}

// Runs then on the next modal dialog that is not already open.
void WhenDialog(std::function<void(QWidget*)> then)
{
    QWidget* before = QApplication::activeModalWidget();
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [before, then, poll]() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != before && modal->isVisible())
            then(modal);
        else
            QTimer::singleShot(20, *poll);
    };
    QTimer::singleShot(20, *poll);
}
} // namespace

class ViewPrintTest : public ViewFixture
{
protected:
    QImage PrintToPdf(QPrinter::PrinterMode mode, int resolution, const QString& name)
    {
        QPrinter printer(mode);
        printer.setOutputFormat(QPrinter::PdfFormat);
        if (resolution)
            printer.setResolution(resolution);
        const QString pdf = m_folder.file(name);
        printer.setOutputFileName(pdf);
        EXPECT_TRUE(m_view->PrintTo(printer));
        return RenderPage(pdf, 50);
    }
};

TEST(ImagePrintSize, WholeMultiplesOf300DpiElseThePage)
{
    // 600 dpi: two dots per pixel.
    EXPECT_EQ(ImagePrint::DrawnSize({400, 300}, 600, 600, {4960, 7016}), QSize(800, 600));
    EXPECT_EQ(ImagePrint::DrawnSize({400, 300}, 300, 300, {2480, 3508}), QSize(400, 300));
    // Below 300 dpi a whole multiple would be nothing: the page's width is used.
    EXPECT_EQ(ImagePrint::DrawnSize({400, 300}, 150, 150, {1240, 1754}), QSize(1240, 930));
    // A photo larger than the page is fitted, its proportions kept on paper.
    EXPECT_EQ(ImagePrint::DrawnSize({4000, 3000}, 300, 300, {2480, 3508}), QSize(2480, 1860));
    EXPECT_EQ(ImagePrint::DrawnSize({300, 400}, 150, 300, {1240, 3508}), QSize(1240, 3306));
    EXPECT_TRUE(ImagePrint::DrawnSize({400, 300}, 600, 600, {0, 0}).isEmpty());
}

TEST_F(ViewPrintTest, HighResolutionPageShowsThePhotoAtThreeHundredPixelsAnInch)
{
    Open(MakeQuarters(400, 300));
    const QImage page = PrintToPdf(QPrinter::HighResolution, 1200, QStringLiteral("hi.pdf"));
    ASSERT_FALSE(page.isNull()) << "pdftoppm could not render the page";
    const QRect printed = Printed(page);
    ASSERT_FALSE(printed.isEmpty()) << "blank page";
    // 400 pixels at 300 per inch: 1.33 inches, 67 dots at 50 dpi.
    EXPECT_NEAR(printed.width(), 67, 2);
    EXPECT_NEAR(printed.height(), 50, 2);
    EXPECT_GT(QColor(page.pixel(printed.topLeft() + QPoint(5, 5))).red(), 240);
    const QColor yellow(page.pixel(printed.bottomRight() - QPoint(5, 5)));
    EXPECT_GT(yellow.green(), 200);
    EXPECT_LT(yellow.blue(), 60);
}

TEST_F(ViewPrintTest, LowResolutionPrinterStillGetsThePhoto)
{
    Open(MakeQuarters(400, 300));
    const QImage page = PrintToPdf(QPrinter::ScreenResolution, 150, QStringLiteral("lo.pdf"));
    ASSERT_FALSE(page.isNull()) << "pdftoppm could not render the page";
    const QRect printed = Printed(page);
    ASSERT_FALSE(printed.isEmpty()) << "blank page at 150 dpi";
    // Fitted across the printable width of the page.
    EXPECT_GT(printed.width(), page.width() * 3 / 4);
    EXPECT_NEAR(double(printed.width()) / printed.height(), 4.0 / 3.0, 0.05);
}

TEST_F(ViewPrintTest, PrintProgramGetsThePhotoAndItsFolder)
{
    const QString photo = MakeQuarters(200, 100, QStringLiteral("holiday shot.png"));
    Open(photo);
    const QString program = m_folder.write(
        QStringLiteral("quindle/Quindle.exe"),
        "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$(dirname \"$0\")/args.txt\"\n");
    QFile::setPermissions(program, QFile::permissions(program) | QFileDevice::ExeOwner);
    Settings(QStringLiteral("Quindle")).writeString(QString(), QStringLiteral("Program path"),
                                                    m_folder.file(QStringLiteral("quindle")));
    m_view->Print();
    const QString args = m_folder.file(QStringLiteral("quindle/args.txt"));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(args) && QFile(args).size() > 0, 10000);
    QFile file(args);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(file.readAll()),
              QStringLiteral("holiday shot.png\n") + m_folder.path() + QStringLiteral("/\n"));
    EXPECT_TRUE(m_prompter.texts.isEmpty());
}

TEST_F(ViewPrintTest, NoteComesBeforeThePrintDialogUntilTheUserDeclinesIt)
{
    Open(MakeQuarters(200, 100));
    ASSERT_TRUE(ImagePrint::ShowNote());
    QStringList seen;
    WhenDialog([&](QWidget* note) {
        seen << note->metaObject()->className();
        auto* dontShow = note->findChild<QCheckBox*>();
        ASSERT_NE(dontShow, nullptr);
        QTest::mouseClick(dontShow, Qt::LeftButton, Qt::NoModifier,
                          QPoint(8, dontShow->height() / 2));
        Shoot(*note, QStringLiteral("noprinterdlg"));
        WhenDialog([&](QWidget* print) {
            seen << print->metaObject()->className();
            QTest::keyClick(print, Qt::Key_Escape);
        });
        QTest::keyClick(note, Qt::Key_Return);
    });
    m_view->Print();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("CNoPrinterDlg"), QStringLiteral("QPrintDialog")}));
    EXPECT_FALSE(ImagePrint::ShowNote());

    // Next time straight to the print dialog.
    seen.clear();
    WhenDialog([&](QWidget* print) {
        seen << print->metaObject()->className();
        QTest::keyClick(print, Qt::Key_Escape);
    });
    m_view->Print();
    EXPECT_EQ(seen, QStringList{QStringLiteral("QPrintDialog")});
}

TEST_F(ViewPrintTest, NoteLinksToThePrintProgramInBothSchemes)
{
    const QPalette light = QApplication::palette();
    for (const ColourScheme scheme : {ColourScheme::Light, ColourScheme::Dark}) {
        QApplication::setPalette(SkinScheme::of(scheme).palette());
        CNoPrinterDlg note;
        note.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&note));
        EXPECT_EQ(note.Link()->text(), QStringLiteral("Vellora Quindle"));
        EXPECT_FALSE(note.Link()->GetURL().isEmpty());
        // Nothing overlaps: the check box lies below the link's line.
        EXPECT_GE(note.DontShow()->geometry().top(), note.Link()->geometry().bottom());
        Shoot(note, scheme == ColourScheme::Dark ? QStringLiteral("noprinterdlg-dark")
                                                 : QStringLiteral("noprinterdlg-light"));
        note.reject();
    }
    QApplication::setPalette(light);
    EXPECT_TRUE(ImagePrint::ShowNote()); // Cancel-like closing writes nothing
}

TEST_F(ViewPrintTest, PrintDialogPrintsToTheFileChosenAndPreviewShowsThePage)
{
    Open(MakeQuarters(400, 300));
    ImagePrint::SetShowNote(false);
    const QString pdf = m_folder.file(QStringLiteral("dialog.pdf"));
    m_view->Printer().setOutputFileName(pdf);
    WhenDialog([&](QWidget* print) {
        Shoot(*print, QStringLiteral("printdialog"));
        QTest::keyClick(print, Qt::Key_Return);
    });
    m_view->Print();
    ASSERT_TRUE(QFile::exists(pdf));
    const QImage page = RenderPage(pdf, 50);
    ASSERT_FALSE(page.isNull());
    EXPECT_FALSE(Printed(page).isEmpty()) << "blank page";

    QString seen;
    WhenDialog([&](QWidget* preview) {
        seen = preview->metaObject()->className();
        QTest::qWait(100);
        Shoot(*preview, QStringLiteral("printpreview"));
        QTest::keyClick(preview, Qt::Key_Escape);
    });
    m_view->PrintPreview();
    EXPECT_EQ(seen, QStringLiteral("QPrintPreviewDialog"));
}
