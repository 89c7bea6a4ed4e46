// SPDX-License-Identifier: GPL-2.0-or-later
// The publish dialog against a real FTP server on 127.0.0.1, driven as a user drives it:
// clicks on its buttons, typing into its fields, keys in its folder tree. A timer answers the
// new-folder question when it comes up; a scripted prompter answers the messages.
#pragma once

#include <memory>
#include <optional>

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "controls/controllisting.h"
#include "controls/skinhooks.h"
#include "controls/imagebutton.h"
#include "platform/secretstore.h"
#include "platform/settings.h"
#include "publish/createftpfolder.h"
#include "publish/ftptreedlg.h"
#include "shell/skin.h"
#include "tests/support/ftpservers.h"
#include "tests/support/testenv.h"

namespace publishtest
{

inline const QString Sites = QStringLiteral("FTPSites");

// Answers the new-folder question with a name, or cancels it when none is set.
class FolderNameAnswerer
{
public:
    FolderNameAnswerer()
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* question = dynamic_cast<CCreateFTPFolder*>(QApplication::activeModalWidget());
            if (question == nullptr || !question->isVisible())
                return;
            ++asked;
            if (!name) {
                QTest::mouseClick(&question->CancelButton(), Qt::LeftButton);
                return;
            }
            QTest::keyClicks(&question->NameEdit(), *name);
            QTest::keyClick(&question->NameEdit(), Qt::Key_Return);
        });
        m_timer.start(5);
    }
    std::optional<QString> name;
    int asked = 0;

private:
    QTimer m_timer;
};

class DialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!server.skipReason().isEmpty())
            GTEST_SKIP() << server.skipReason().toStdString();
        server.put(QStringLiteral("pub/site/index.html"), "<html>old</html>");
        server.put(QStringLiteral("pub/site/old/deeper/photo.jpg"), "jpeg");
        server.put(QStringLiteral("pub/site/old/notes.txt"), "text");
        album.write(QStringLiteral("index.html"), "<html>album</html>");
        album.write(QStringLiteral("photos/one.jpg"), QByteArray(40000, 'a'));
        album.write(QStringLiteral("photos/two.jpg"), QByteArray(1000, 'b'));
        // The pictures the build ships, so that the dialog looks as users see it.
        skin.installInControls(skinPrompter);
    }
    void TearDown() override
    {
        dialog.reset();
        SkinHooks::install({}, {});
    }

    CFTPTREEDlg& openDialog()
    {
        CFTPTREEDlg::Services services;
        services.showHelp = [this](const QString& topic) { helpTopics << topic; };
        services.openFile = [this](const QString& path) {
            opened << path;
            return true;
        };
        services.logPath = work.file(QStringLiteral("gallivex.ftp.log"));
        dialog = std::make_unique<CFTPTREEDlg>(settings, prompter, &secrets, services);
        dialog->SetLocalFolder(album.path());
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    QWidget& control(int id) { return *dialog->Control(id); }
    QComboBox& address() { return static_cast<QComboBox&>(control(CFTPTREEDlg::IDC_ADDRESS)); }
    QLineEdit& field(int id) { return static_cast<QLineEdit&>(control(id)); }
    QTreeWidget& tree() { return static_cast<QTreeWidget&>(control(CFTPTREEDlg::IDC_TREE)); }
    CImageButton& button(int id) { return static_cast<CImageButton&>(control(id)); }
    void click(int id)
    {
        QTest::mouseClick(&control(id), Qt::LeftButton);
        QApplication::processEvents();
    }
    // Clicks into a field, replaces what it shows by typing.
    void type(QWidget& into, const QString& text)
    {
        QTest::mouseClick(&into, Qt::LeftButton);
        QTest::keyClick(&into, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(&into, Qt::Key_Delete);
        QTest::keyClicks(&into, text);
    }
    QString typedAddress() const
    {
        return QStringLiteral("127.0.0.1:%1/pub/site").arg(server.port());
    }
    // The address typed without "ftp://", the test login, then Connect.
    void connectAsUser(const QString& where = QString())
    {
        type(*address().lineEdit(), where.isEmpty() ? typedAddress() : where);
        type(field(CFTPTREEDlg::IDC_LOGIN), server.user());
        type(field(CFTPTREEDlg::IDC_PASSWORD), server.password());
        click(CFTPTREEDlg::IDC_CONNECT);
    }
    static QString pathOf(const QTreeWidgetItem* item)
    {
        QStringList parts;
        for (; item != nullptr && item->parent() != nullptr; item = item->parent())
            parts.prepend(item->text(0));
        return QLatin1Char('/') + parts.join(QLatin1Char('/'));
    }
    QTreeWidgetItem* itemAt(const QString& path)
    {
        QTreeWidgetItem* item = tree().topLevelItem(0);
        for (const QString& part : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
            QTreeWidgetItem* next = nullptr;
            for (int i = 0; item != nullptr && i < item->childCount(); ++i) {
                if (item->child(i)->text(0) == part)
                    next = item->child(i);
            }
            item = next;
        }
        return item;
    }
    QStringList childrenOf(const QString& path)
    {
        QStringList names;
        QTreeWidgetItem* item = itemAt(path);
        for (int i = 0; item != nullptr && i < item->childCount(); ++i)
            names << item->child(i)->text(0);
        return names;
    }
    // A click on the folder's line in the tree, as the user picks it.
    void pick(const QString& path)
    {
        QTreeWidgetItem* item = itemAt(path);
        ASSERT_NE(item, nullptr) << path.toStdString();
        tree().scrollToItem(item);
        QTest::mouseClick(tree().viewport(), Qt::LeftButton, {},
                          tree().visualItemRect(item).center());
        QApplication::processEvents();
        ASSERT_EQ(tree().currentItem(), item);
    }
    QString current() { return pathOf(tree().currentItem()); }
    QString onServer(const QString& relative) const { return QDir(server.root()).filePath(relative); }
    QByteArray logText() const
    {
        QFile file(work.file(QStringLiteral("gallivex.ftp.log")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Saves what the user sees into the build's screenshots folder.
    static void saveScreenshot(QWidget& widget, const QString& name)
    {
        const QString folder = binFolder() + QStringLiteral("/../screenshots");
        QDir().mkpath(folder);
        EXPECT_TRUE(widget.grab().save(folder + u'/' + name + QStringLiteral(".png")));
    }

    SettingsSandbox sandbox;
    Settings settings;
    ScriptedPrompter prompter;
    ScriptedPrompter skinPrompter;
    Skin skin{settings, binFolder()};
    // No secret service runs here: saved passwords take the plain fallback.
    EnvironmentValue bus{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/gallivex-bus"};
    SecretStore secrets{QStringLiteral("Gallivex tests"), 2000};
    TestFolder work;
    TestFolder album;
    PyFtpServer server;
    FolderNameAnswerer folderName;
    QStringList opened, helpTopics;
    std::unique_ptr<CFTPTREEDlg> dialog;
};

} // namespace publishtest
