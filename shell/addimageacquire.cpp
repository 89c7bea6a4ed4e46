// SPDX-License-Identifier: GPL-2.0-or-later
// The image list page's EXIF information and Import commands: texts from the photos' EXIF
// fields into titles and descriptions, and pictures from scanners and cameras.
#include "shell/addimagedlg.h"

#include <QListWidget>

#include "images/acquiredimages.h"
#include "images/exifinfo.h"
#include "images/scanoptionsdlg.h"
#include "images/scansetup.h"
#include "images/twain.h"
#include "platform/prompter.h"
#include "platform/stringtable.h"
#include "shell/gvapp.h"

namespace
{

// The page's link to a scanner or camera: the user picks the device's settings (remembered
// for the next time), the album's progress window shows the pages, and every picture received
// joins the page's list.
class PageTwain : public CTwain
{
public:
    PageTwain(CAddImageDlg& page, CGVApp& app)
        : CTwain(&app.GetPrompter()), m_page(page), m_app(app)
    {
    }

protected:
    bool NegotiateCapabilities() override
    {
        ScanChoices choices;
        if (!ReadDeviceChoices(choices))
            return false;
        const QString device = Source().name;
        const std::optional<ScanSettings> chosen = CScanOptionsDlg::choose(
            choices, scansetup::load(m_app.GetSettings(), device, choices), m_page.window());
        if (!chosen) {
            CancelByUser();
            return false;
        }
        scansetup::save(m_app.GetSettings(), device, *chosen);
        return ApplyDeviceSettings(*chosen);
    }
    void CopyImage(const QImage& image) override { m_page.AddAcquiredImage(image); }
    Progress* BeginTransferProgress() override
    {
        return &m_app.Album().BeginProgress(loadString(IDS_TWAIN_SCANNING));
    }
    void EndTransferProgress() override { m_app.Album().EndProgress(); }

private:
    CAddImageDlg& m_page;
    CGVApp& m_app;
};

std::optional<exiffields::Choice> showExifDialog(const exiffields::Choice& stored, QWidget* parent)
{
    CExifInfo dialog(stored.captions, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    exiffields::Choice choice = dialog.choice();
    choice.captions = dialog.captions();
    return choice;
}

} // namespace

void CAddImageDlg::onExif()
{
    const std::vector<int> selected = SelectedRows();
    if (selected.empty())
        return;
    storeDescription();
    Settings& settings = m_app.GetSettings();
    exiffields::Choice stored = exiffields::defaultChoice();
    stored.captions = exiffields::loadCaptions(settings);
    exiffields::loadToggles(settings, stored);
    const std::optional<exiffields::Choice> choice =
        m_exifDialog ? m_exifDialog(stored) : showExifDialog(stored, this);
    if (!choice)
        return;
    exiffields::saveCaptions(settings, choice->captions);

    std::vector<PageImage>& rows = m_rows.Rows();
    const std::vector<int> visit =
        exiffields::rowsToVisit(choice->applyToAll, static_cast<int>(rows.size()), selected);
    std::vector<QString> paths;
    std::vector<exiffields::ImageTexts> texts;
    for (int row : visit) {
        paths.push_back(rows[static_cast<size_t>(row)].path);
        texts.push_back(
            {rows[static_cast<size_t>(row)].title, rows[static_cast<size_t>(row)].description});
    }
    const bool lacking = exiffields::applyToImages(*choice, paths, texts);
    for (size_t i = 0; i < visit.size(); ++i) {
        PageImage& row = rows[static_cast<size_t>(visit[i])];
        row.title = texts[i].title;
        row.description = texts[i].description;
    }
    m_app.Album().MarkModified();
    refill(selected);
    if (lacking)
        m_app.GetPrompter().message(exiffields::lacksExifText(), Prompter::Icon::Information);
}

CTwain& CAddImageDlg::Acquisition()
{
    if (!m_twain)
        m_twain = std::make_unique<PageTwain>(*this, m_app);
    return *m_twain;
}

void CAddImageDlg::onImport()
{
    CTwain& twain = Acquisition();
    // The whole wizard waits for the pictures: a Next pressed meanwhile would leave the page
    // before they arrive.
    if (twain.SelectSource(window()))
        twain.Acquire(window());
}

void CAddImageDlg::AddAcquiredImage(const QImage& image)
{
    const QString path = keepAcquiredImage(image, m_app.GetPrompter(), m_temporaryFolder);
    if (path.isEmpty())
        return;
    storeDescription();
    m_rows.Append({path, QString(), QString(), QString()});
    m_app.Album().MarkModified();
    afterAdding(true);
}
