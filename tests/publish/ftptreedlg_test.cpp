// SPDX-License-Identifier: GPL-2.0-or-later
// The publish dialog against a real FTP server: connecting with a typed address, the folder
// tree, creating and removing folders, transferring twice, the remembered sites and their
// passwords, and its layout at the default and the minimum size.
#include <QDirIterator>
#include <QLabel>

#include "publish/trustedkeys.h"
#include "tests/publish/dlgfixture.h"

namespace
{

using publishtest::DialogTest;
using publishtest::Sites;

const QString NotConnected = QStringLiteral("An FTP connection has not been established.");

class PublishDialogTest : public DialogTest
{
protected:
    // Every visible control inside the dialog, with a size, apart from the others, named,
    // and showing its caption whole.
    void expectLaidOut(const char* when)
    {
        QApplication::processEvents();
        const std::vector<QWidget*> controls = controllisting::VisibleControls(*dialog);
        EXPECT_GE(controls.size(), 15u) << when;
        std::vector<QRect> places;
        for (QWidget* c : controls) {
            const QRect place(c->mapTo(dialog.get(), QPoint(0, 0)), c->size());
            places.push_back(place);
            const std::string name = controllisting::Describe(*c).toStdString();
            EXPECT_FALSE(place.isEmpty()) << name << " " << when;
            EXPECT_TRUE(dialog->rect().contains(place)) << name << " outside, " << when;
            if (!qobject_cast<QLabel*>(c)) {
                EXPECT_FALSE(controllisting::SpokenName(*c).trimmed().isEmpty()) << name;
            }
            const auto* image = qobject_cast<CImageButton*>(c);
            if (image != nullptr) {
                EXPECT_LE(image->sizeHint().width(), image->width()) << name << " cut";
            }
            const auto* label = qobject_cast<QLabel*>(c);
            if (label != nullptr && label->pixmap().isNull()) {
                EXPECT_LE(label->sizeHint().width(), label->width()) << name << " cut";
            }
        }
        for (size_t i = 0; i < controls.size(); ++i) {
            for (size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(places[i].intersects(places[j]))
                    << controllisting::Describe(*controls[i]).toStdString() << " overlaps "
                    << controllisting::Describe(*controls[j]).toStdString() << ", " << when;
            }
        }
    }
    int stores() const { return server.commandCount(QStringLiteral("STOR")); }
};

TEST_F(PublishDialogTest, OpensNotConnectedWithItsControlsInPlace)
{
    openDialog();
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Publish album"));
    ASSERT_EQ(tree().topLevelItemCount(), 1);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), NotConnected);
    for (int id : {CFTPTREEDlg::IDC_TRANSFER, CFTPTREEDlg::IDC_CREATE_FOLDER,
                   CFTPTREEDlg::IDC_REMOVE_FOLDER})
        EXPECT_FALSE(control(id).isEnabled()) << id;
    EXPECT_EQ(field(CFTPTREEDlg::IDC_PASSWORD).echoMode(), QLineEdit::Password);
    EXPECT_EQ(address().toolTip(), QStringLiteral("Please enter your ftp server address here "
                                                  "and press Connect button"));
    EXPECT_EQ(control(CFTPTREEDlg::IDC_ANONYMOUS).toolTip(),
              QStringLiteral("Enable anonymous access"));
    EXPECT_EQ(control(CFTPTREEDlg::IDC_SAVE_PASSWORD).toolTip(),
              QStringLiteral("Save your password"));
    // The log starts afresh with the settings line; the settings are written back.
    EXPECT_FALSE(logText().isEmpty());
    expectLaidOut("at the default size");
    saveScreenshot(*dialog, QStringLiteral("publish-not-connected"));
    dialog->resize(dialog->minimumSize());
    expectLaidOut("at the minimum size");
    saveScreenshot(*dialog, QStringLiteral("publish-minimum"));
    dialog->resize(900, 700);
    expectLaidOut("enlarged");
    click(CFTPTREEDlg::IDC_HELP);
    EXPECT_EQ(helpTopics, QStringList{QStringLiteral("::/wizard/publish.html")});
}

TEST_F(PublishDialogTest, TypedAddressConnectsAndOpensTheTreeAlongItsFolder)
{
    openDialog();
    connectAsUser();
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join(" | ").toStdString();
    EXPECT_EQ(current(), QStringLiteral("/pub/site"));
    EXPECT_TRUE(itemAt(QStringLiteral("/pub"))->isExpanded());
    // The opened folder is listed: its sub-folder shows, its files do not, and the
    // sub-folder waits with its placeholder until it is expanded.
    EXPECT_EQ(childrenOf(QStringLiteral("/pub/site")), QStringList{QStringLiteral("old")});
    EXPECT_EQ(childrenOf(QStringLiteral("/pub/site/old")), QStringList{QStringLiteral("dummy")});
    EXPECT_TRUE(control(CFTPTREEDlg::IDC_TRANSFER).isEnabled());
    EXPECT_TRUE(control(CFTPTREEDlg::IDC_REMOVE_FOLDER).isEnabled());
    expectLaidOut("connected");
    saveScreenshot(*dialog, QStringLiteral("publish-connected"));

    pick(QStringLiteral("/pub/site/old"));
    QTest::keyClick(&tree(), Qt::Key_Right);
    EXPECT_EQ(childrenOf(QStringLiteral("/pub/site/old")), QStringList{QStringLiteral("deeper")});
    pick(QStringLiteral("/"));
    EXPECT_FALSE(control(CFTPTREEDlg::IDC_REMOVE_FOLDER).isEnabled()) << "the root";
    EXPECT_TRUE(control(CFTPTREEDlg::IDC_CREATE_FOLDER).isEnabled());

    // Connect stored the list: the address as typed, the login, no password.
    EXPECT_EQ(settings.getInt(Sites, "Count", 0), 1);
    EXPECT_EQ(settings.getString(Sites, "Server0"), typedAddress());
    EXPECT_EQ(settings.getString(Sites, "Login0"), server.user());
    EXPECT_EQ(settings.getInt(Sites, "Config0", -1), 0);
    EXPECT_FALSE(settings.contains(Sites, "PWD0"));
    EXPECT_FALSE(logText().contains(server.password().toUtf8()));
}

TEST_F(PublishDialogTest, CreateAndRemoveFolderOnTheServer)
{
    openDialog();
    connectAsUser();
    folderName.name = QStringLiteral("album");
    click(CFTPTREEDlg::IDC_CREATE_FOLDER);
    EXPECT_EQ(folderName.asked, 1);
    EXPECT_TRUE(QFileInfo(onServer(QStringLiteral("pub/site/album"))).isDir());
    EXPECT_EQ(current(), QStringLiteral("/pub/site/album"));

    // Cancelled: nothing is made.
    folderName.name.reset();
    click(CFTPTREEDlg::IDC_CREATE_FOLDER);
    EXPECT_EQ(folderName.asked, 2);
    EXPECT_EQ(QDir(onServer(QStringLiteral("pub/site/album"))).entryList(QDir::NoDotAndDotDot |
                                                                        QDir::AllEntries),
              QStringList());

    pick(QStringLiteral("/pub/site/old"));
    prompter.answers = {Prompter::Answer::No};
    click(CFTPTREEDlg::IDC_REMOVE_FOLDER);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_EQ(prompter.texts[0],
              QStringLiteral("Are you sure you want to completely remove FTP folder "
                             "\"old\" including all its content and subfolders?"))
        << prompter.texts[0].toStdString();
    EXPECT_TRUE(QFileInfo::exists(onServer(QStringLiteral("pub/site/old/deeper/photo.jpg"))));

    prompter.answers = {Prompter::Answer::Yes};
    click(CFTPTREEDlg::IDC_REMOVE_FOLDER);
    EXPECT_FALSE(QFileInfo::exists(onServer(QStringLiteral("pub/site/old"))));
    EXPECT_TRUE(QFileInfo::exists(onServer(QStringLiteral("pub/site/index.html"))));
    EXPECT_EQ(childrenOf(QStringLiteral("/pub/site")), QStringList{QStringLiteral("album")});
    EXPECT_EQ(prompter.texts.size(), 2) << prompter.texts.join(" | ").toStdString();
}

TEST_F(PublishDialogTest, TransferSendsTheAlbumThenOnlyTheFileList)
{
    server.put(QStringLiteral("pub/site/fresh/.keep"), "");
    QFile::remove(onServer(QStringLiteral("pub/site/fresh/.keep")));
    openDialog();
    connectAsUser();
    QTest::keyClick(&tree(), Qt::Key_Right);
    pick(QStringLiteral("/pub/site/fresh"));
    const int before = stores();
    click(CFTPTREEDlg::IDC_TRANSFER);
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join(" | ").toStdString();
    EXPECT_EQ(stores() - before, 4) << "three files and the list";
    for (const char* file : {"index.html", "photos/one.jpg", "photos/two.jpg", "filelist.xml"})
        EXPECT_TRUE(QFileInfo::exists(onServer(QStringLiteral("pub/site/fresh/") + file))) << file;
    EXPECT_EQ(current(), QStringLiteral("/pub/site/fresh"));
    EXPECT_EQ(childrenOf(QStringLiteral("/pub/site/fresh")), QStringList{QStringLiteral("photos")});

    // The folder is no longer empty: No leaves it alone, Yes sends what changed.
    prompter.answers = {Prompter::Answer::No};
    click(CFTPTREEDlg::IDC_TRANSFER);
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].contains(QStringLiteral("\nftp:///pub/site/fresh\n")))
        << prompter.texts[0].toStdString();
    EXPECT_EQ(stores() - before, 4);

    prompter.answers = {Prompter::Answer::Yes};
    click(CFTPTREEDlg::IDC_TRANSFER);
    EXPECT_EQ(stores() - before, 5) << "only filelist.xml again";
    EXPECT_EQ(prompter.texts.size(), 2);
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(PublishDialogTest, FailedTransferSaysSoAndOpensTheLog)
{
    openDialog();
    connectAsUser();
    FtpFaults faults;
    server.setFaults(faults.diskFull());
    prompter.answers = {Prompter::Answer::Yes};
    click(CFTPTREEDlg::IDC_TRANSFER);
    ASSERT_GE(prompter.texts.size(), 3) << prompter.texts.join(" | ").toStdString();
    EXPECT_EQ(prompter.texts.last(),
              QStringLiteral("Can not transfer album data to \"/pub/site\" folder.\nPlease, "
                             "check the error log file for details."));
    EXPECT_EQ(opened, QStringList{work.file(QStringLiteral("gallivex.ftp.log"))});
    EXPECT_TRUE(control(CFTPTREEDlg::IDC_TRANSFER).isEnabled()) << "ready to try again";
    EXPECT_FALSE(QFileInfo::exists(onServer(QStringLiteral("pub/site/filelist.xml"))));
}

TEST_F(PublishDialogTest, BadAddressAndBadLoginLeaveItNotConnected)
{
    openDialog();
    connectAsUser(QStringLiteral("ftp://127.0.0.1:99999/x"));
    ASSERT_EQ(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].contains(QStringLiteral("ftp.example.com")));
    EXPECT_EQ(tree().topLevelItem(0)->text(0), NotConnected);

    type(*address().lineEdit(), typedAddress());
    type(field(CFTPTREEDlg::IDC_LOGIN), server.user());
    type(field(CFTPTREEDlg::IDC_PASSWORD), QStringLiteral("wrong-Password-1"));
    click(CFTPTREEDlg::IDC_CONNECT);
    ASSERT_EQ(prompter.texts.size(), 2);
    EXPECT_EQ(tree().topLevelItem(0)->text(0), NotConnected);
    EXPECT_FALSE(control(CFTPTREEDlg::IDC_TRANSFER).isEnabled());
    // A failed connect still remembers the address, first in the list.
    EXPECT_EQ(settings.getString(Sites, "Server0"), typedAddress());
    EXPECT_FALSE(logText().contains("wrong-Password-1"));
}

TEST_F(PublishDialogTest, EleventhAddressIsDroppedOnConnect)
{
    settings.writeInt(Sites, "Count", 10);
    for (int i = 0; i < 10; ++i)
        settings.writeString(Sites, QStringLiteral("Server%1").arg(i),
                             QStringLiteral("host%1.example").arg(i));
    openDialog();
    EXPECT_EQ(address().count(), 10);
    connectAsUser();
    EXPECT_EQ(address().count(), 10);
    EXPECT_EQ(address().itemText(0), typedAddress());
    EXPECT_EQ(settings.getInt(Sites, "Count", 0), 10);
    EXPECT_EQ(settings.getString(Sites, "Server0"), typedAddress());
    EXPECT_EQ(settings.getString(Sites, "Server9"), QStringLiteral("host8.example"));
}

TEST_F(PublishDialogTest, AnonymousSiteLoadsWithoutItsLoginAndDisablesIt)
{
    settings.writeInt(Sites, "Count", 2);
    settings.writeString(Sites, "Server0", "ftp://first.example");
    settings.writeString(Sites, "Login0", "first");
    settings.writeString(Sites, "PWD0", "kept-secret");
    settings.writeInt(Sites, "Config0", 1);
    settings.writeString(Sites, "Server1", "ftp://anon.example");
    settings.writeString(Sites, "Login1", "written-anyway");
    settings.writeInt(Sites, "Config1", 2);
    openDialog();
    QTest::mouseClick(address().lineEdit(), Qt::LeftButton);
    QTest::keyClick(&address(), Qt::Key_Down);
    EXPECT_EQ(field(CFTPTREEDlg::IDC_LOGIN).text(), QStringLiteral("first"));
    EXPECT_EQ(field(CFTPTREEDlg::IDC_PASSWORD).text(), QStringLiteral("kept-secret"));
    EXPECT_EQ(button(CFTPTREEDlg::IDC_SAVE_PASSWORD).GetCheck(), 1);
    QTest::keyClick(&address(), Qt::Key_Down);
    EXPECT_EQ(address().currentText(), QStringLiteral("ftp://anon.example"));
    EXPECT_EQ(button(CFTPTREEDlg::IDC_ANONYMOUS).GetCheck(), 1);
    EXPECT_TRUE(field(CFTPTREEDlg::IDC_LOGIN).text().isEmpty());
    EXPECT_TRUE(field(CFTPTREEDlg::IDC_PASSWORD).text().isEmpty());
    EXPECT_EQ(button(CFTPTREEDlg::IDC_SAVE_PASSWORD).GetCheck(), 0);
    EXPECT_FALSE(field(CFTPTREEDlg::IDC_LOGIN).isEnabled());
    EXPECT_FALSE(field(CFTPTREEDlg::IDC_PASSWORD).isEnabled());
    EXPECT_FALSE(control(CFTPTREEDlg::IDC_SAVE_PASSWORD).isEnabled());
    // Use Anonymous off again gives the fields back.
    click(CFTPTREEDlg::IDC_ANONYMOUS);
    EXPECT_TRUE(field(CFTPTREEDlg::IDC_LOGIN).isEnabled());
    EXPECT_TRUE(control(CFTPTREEDlg::IDC_SAVE_PASSWORD).isEnabled());
}

TEST_F(PublishDialogTest, SavedPasswordIsPlainOnlyWithoutSecretService)
{
    openDialog();
    click(CFTPTREEDlg::IDC_SAVE_PASSWORD);
    connectAsUser();
    ASSERT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join(" | ").toStdString();
    EXPECT_EQ(settings.getInt(Sites, "Config0", -1), 1);
    EXPECT_EQ(settings.getString(Sites, "PWD0"), server.password());

    // Unchecked and connected again: the password leaves the settings.
    click(CFTPTREEDlg::IDC_SAVE_PASSWORD);
    click(CFTPTREEDlg::IDC_CONNECT);
    EXPECT_EQ(settings.getInt(Sites, "Config0", -1), 0);
    EXPECT_FALSE(settings.contains(Sites, "PWD0"));
    EXPECT_FALSE(logText().contains(server.password().toUtf8()));
}

TEST_F(PublishDialogTest, AnonymousLoginReachesAnAnonymousServer)
{
    PyFtpServer::Options options;
    options.withUser = false;
    PyFtpServer open(options);
    ASSERT_TRUE(open.skipReason().isEmpty()) << open.skipReason().toStdString();
    open.put(QStringLiteral("incoming/readme.txt"), "hello");
    openDialog();
    click(CFTPTREEDlg::IDC_ANONYMOUS);
    type(*address().lineEdit(), QStringLiteral("ftp://127.0.0.1:%1/incoming").arg(open.port()));
    click(CFTPTREEDlg::IDC_CONNECT);
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join(" | ").toStdString();
    EXPECT_EQ(current(), QStringLiteral("/incoming"));
    EXPECT_EQ(settings.getInt(Sites, "Config0", -1), 2);
}

TEST_F(PublishDialogTest, UntrustedCertificateIsUsedOnlyOnceTheUserTrustsIt)
{
    PureFtpd secure;
    if (!secure.skipReason().isEmpty())
        GTEST_SKIP() << secure.skipReason().toStdString();
    // The question shows the key's SHA-256 as the choice keeps it: in base64.
    const QString key = QString::fromLatin1(secure.publicKeySha256().toBase64());
    ASSERT_FALSE(key.isEmpty());
    openDialog();
    prompter.answers = {Prompter::Answer::No};
    type(*address().lineEdit(), secure.url());
    type(field(CFTPTREEDlg::IDC_LOGIN), secure.user());
    type(field(CFTPTREEDlg::IDC_PASSWORD), secure.password());
    click(CFTPTREEDlg::IDC_CONNECT);
    ASSERT_GE(prompter.texts.size(), 1);
    EXPECT_TRUE(prompter.texts[0].contains(QStringLiteral("No certificate authority vouches")))
        << prompter.texts[0].toStdString();
    EXPECT_TRUE(prompter.texts[0].contains(key)) << prompter.texts[0].toStdString();
    EXPECT_EQ(tree().topLevelItem(0)->text(0), NotConnected);
    EXPECT_TRUE(TrustedKeys(settings).KeyFor(QStringLiteral("127.0.0.1"), secure.port()).isEmpty());

    prompter.texts.clear();
    prompter.answers = {Prompter::Answer::Yes};
    click(CFTPTREEDlg::IDC_CONNECT);
    EXPECT_EQ(prompter.texts.size(), 1) << prompter.texts.join(" | ").toStdString();
    EXPECT_TRUE(dialog->Logic().IsConnected());
    EXPECT_EQ(TrustedKeys(settings).KeyFor(QStringLiteral("127.0.0.1"), secure.port()),
              key.toLatin1());

    // Trusted now: the next connect asks nothing.
    prompter.texts.clear();
    click(CFTPTREEDlg::IDC_CONNECT);
    EXPECT_TRUE(prompter.texts.isEmpty()) << prompter.texts.join(" | ").toStdString();
    EXPECT_TRUE(dialog->Logic().IsConnected());
}

TEST_F(PublishDialogTest, DoneKeepsTheFieldsForTheNextShowing)
{
    openDialog();
    connectAsUser();
    click(CFTPTREEDlg::IDC_DONE);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_FALSE(dialog->Logic().IsConnected());
    ASSERT_FALSE(dialog->Logic().Sites().empty());
    EXPECT_EQ(dialog->Logic().Sites().front().login, server.user());
}

} // namespace
