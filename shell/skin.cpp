// SPDX-License-Identifier: GPL-2.0-or-later
#include "shell/skin.h"

#include <map>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QPixmap>
#include <QScreen>

#include "controls/skinhooks.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "platform/settings.h"
#include "platform/stringtable.h"

namespace {

const QString SkinSection = QStringLiteral("SkinInfo");
const char* const ColorNames[3] = {"BkgroundColor", "TxtColor", "LabelColor"};

} // namespace

Skin::Skin(Settings& settings, QString programFolder)
    : m_settings(settings), m_programFolder(std::move(programFolder))
{
}

void Skin::SetScheme(ColourScheme scheme)
{
    m_scheme = scheme;
    m_colors[SKIN_BACKGROUND] = 0; // read again in the new scheme
}

int32_t Skin::DefaultColor(int index, ColourScheme scheme)
{
    const SkinScheme& colours = SkinScheme::of(scheme);
    switch (index) {
    case SKIN_BACKGROUND:
        return int32_t(refFromColor(colours.band));
    case SKIN_TEXT:
        return int32_t(refFromColor(colours.ink));
    case SKIN_LABEL:
        return int32_t(refFromColor(colours.label));
    default:
        return 0;
    }
}

namespace {

// A colour the program wrote itself, in either scheme or as an earlier default: no choice
// of the user's, so it follows the desktop's scheme.
bool isBuiltIn(int index, int32_t colour)
{
    return colour == Skin::DefaultColor(index, ColourScheme::Light) ||
           colour == Skin::DefaultColor(index, ColourScheme::Dark) ||
           (index == SKIN_TEXT && colour == Skin::FormerDefaultText);
}

} // namespace

void Skin::readColors()
{
    for (int i = 0; i < 3; ++i)
        m_colors[i] = m_settings.getInt(SkinSection, QLatin1String(ColorNames[i]), -1);
    // A negative background means "no skin chosen": the whole skin goes back to the
    // defaults. Any other missing colour takes its own default, so a half-written skin never
    // paints with -1.
    const bool resetAll = m_colors[SKIN_BACKGROUND] < 0;
    for (int i = 0; i < 3; ++i) {
        if (resetAll || m_colors[i] < 0) {
            m_colors[i] = DefaultColor(i, m_scheme);
            m_settings.writeInt(SkinSection, QLatin1String(ColorNames[i]), m_colors[i]);
        } else if (isBuiltIn(i, m_colors[i])) {
            m_colors[i] = DefaultColor(i, m_scheme);
        }
    }
}

int32_t Skin::GetSkinColor(int index)
{
    if (index < 0 || index > 2)
        return 0;
    if (m_colors[SKIN_BACKGROUND] == 0)
        readColors();
    return m_colors[index];
}

QString Skin::pictureFile(int pictureId)
{
    static const std::map<int, const char*> files = {
        {182, "back.gif"},         {184, "next.gif"},           {188, "cancel.gif"},
        {189, "help.gif"},         {202, "add.gif"},            {203, "enhance.gif"},
        {204, "print.gif"},        {205, "remove.gif"},         {208, "showtips.gif"},
        {209, "generate.jpg"},     {210, "support.gif"},        {211, "savesetting.gif"},
        {212, "addtofav.gif"},     {213, "savepwd.gif"},        {214, "anonymous.gif"},
        {215, "addfolder.gif"},    {228, "done.gif"},           {229, "browse.gif"},
        {231, "createproject.gif"}, {232, "modifyproject.gif"}, {239, "step0.gif"},
        {240, "step1.gif"},        {241, "step2.gif"},          {242, "step3.gif"},
        {243, "step4.gif"},        {245, "step5.gif"},          {248, "remove_fold.gif"},
        {249, "create_fold.gif"},  {250, "transfer.gif"},       {253, "ftpclose.gif"},
        {254, "ftpconnect.gif"},   {255, "ftplogin.gif"},       {256, "ftppwd.gif"},
        {257, "save_pwd.gif"},     {259, "ftpaddress.gif"},     {260, "ftpenter.gif"},
        {261, "dlgok.gif"},        {262, "dlgcancel.gif"},      {263, "delete.gif"},
        {264, "find.gif"},         {265, "step6.gif"},          {266, "continue_gv.gif"},
        {267, "close_gv.gif"},     {268, "publish.gif"},        {269, "ch_font.gif"},
        {270, "ch_color.gif"},     {271, "ftphelp.gif"},        {281, "up.gif"},
        {282, "down.gif"},         {283, "download.gif"},       {284, "change.gif"},
        {291, "top.gif"},          {292, "bottom.gif"},         {293, "rotateright.gif"},
        {294, "rotateleft.gif"},   {295, "autolevels.gif"},     {297, "edittitle.gif"},
        {298, "includesubfolders.gif"}, {299, "viewalbum.gif"}, {300, "renamealbum.gif"},
        {301, "printalbum.gif"},   {302, "property.gif"},       {303, "openalbum.gif"},
        {304, "bgcontrol.gif"},    {305, "bgexif.gif"},         {400, "exif.gif"},
        {401, "chkbox.gif"},       {402, "checkall.gif"},       {403, "uncheckall.gif"},
        {404, "apptoall.gif"},     {405, "addcomment.gif"},     {406, "replacecomment.gif"},
        {407, "step3planka.gif"},  {32811, "import.gif"},
        {SKIN_LISTBOX_SPLASH, "listboxsplash.gif"},
    };
    const auto it = files.find(pictureId);
    return it == files.end() ? QString() : QString::fromLatin1(it->second);
}

QImage Skin::LoadSkinPicture(int pictureId) const
{
    const auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    const QScreen* screen = gui != nullptr ? QGuiApplication::primaryScreen() : nullptr;
    return LoadSkinPicture(pictureId, screen != nullptr ? screen->devicePixelRatio() : 1.0);
}

QImage Skin::LoadSkinPicture(int pictureId, qreal screenRatio) const
{
    const QString file = pictureFile(pictureId);
    if (file.isEmpty())
        return QImage();
    QImage picture;
    // A folder drawn before there were dark pictures still shows its light ones.
    if (m_scheme == ColourScheme::Dark)
        picture = loadFromGraphics(SkinScheme::pictureFile(file, m_scheme), screenRatio);
    if (picture.isNull())
        picture = loadFromGraphics(file, screenRatio);
    if (picture.isNull()) {
        // The second place is the media folder at the root of the program's drive.
        const QString folder = QDir(m_programFolder).absolutePath();
        const QString root = folder.size() > 1 && folder[1] == u':' ? folder.left(3) : QStringLiteral("/");
        picture = QImage(QDir(root).filePath(QStringLiteral("media/Gallivex/UI/") + file));
    }
    return picture;
}

QImage Skin::loadFromGraphics(const QString& file, qreal screenRatio) const
{
    const QDir graphics(platform::shippedFolder(platform::Shipped::Graphics, m_programFolder));
    if (screenRatio > 1.0) {
        // Sharp on high-density screens; the ordinary picture stays the fallback.
        const int dot = file.lastIndexOf(u'.');
        QImage sharp(graphics.filePath(file.left(dot) + QStringLiteral("@2x") + file.mid(dot)));
        if (!sharp.isNull()) {
            sharp.setDevicePixelRatio(2.0);
            return sharp;
        }
    }
    return QImage(graphics.filePath(file));
}

QImage Skin::LoadSkinPicture(int pictureId, Prompter& prompter) const
{
    QImage picture = LoadSkinPicture(pictureId);
    if (picture.isNull())
        prompter.message(loadString(IDS_LOAD_IMAGE_FAILED), Prompter::Icon::Error);
    return picture;
}

QIcon Skin::ApplicationIcon() const
{
    const QDir graphics(platform::shippedFolder(platform::Shipped::Graphics, m_programFolder));
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage picture(graphics.filePath(QStringLiteral("gallivex-%1.png").arg(side)));
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    const QString scalable = graphics.filePath(QStringLiteral("gallivex.svg"));
    if (QImageReader::supportedImageFormats().contains("svg") && QFile::exists(scalable))
        icon.addFile(scalable);
    return icon;
}

void Skin::installInControls(Prompter& prompter)
{
    SkinHooks::install([this, &prompter](int id) { return LoadSkinPicture(id, prompter); },
                       [this](int index) { return GetSkinColor(index); });
}
