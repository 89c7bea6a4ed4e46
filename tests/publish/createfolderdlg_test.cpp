// SPDX-License-Identifier: GPL-2.0-or-later
// The new-folder question as the user answers it: typing into the field that has the focus,
// then Enter, OK or Cancel.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "publish/createftpfolder.h"

namespace
{

TEST(CreateFolderDialogTest, TypedNameIsTakenUnchangedWithEnter)
{
    CCreateFTPFolder dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QApplication::setActiveWindow(&dialog);
    ASSERT_EQ(QApplication::focusWidget(), &dialog.NameEdit());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" New photos "));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), QStringLiteral(" New photos "));
}

TEST(CreateFolderDialogTest, OkButtonAcceptsAndCancelGivesNothing)
{
    CCreateFTPFolder accepted;
    accepted.show();
    QTest::keyClicks(&accepted.NameEdit(), QStringLiteral("a/b"));
    QTest::mouseClick(&accepted.OkButton(), Qt::LeftButton);
    EXPECT_EQ(accepted.result(), QDialog::Accepted);
    EXPECT_EQ(accepted.Name(), QStringLiteral("a/b"));

    CCreateFTPFolder cancelled;
    cancelled.show();
    QTest::keyClicks(&cancelled.NameEdit(), QStringLiteral("x"));
    QTest::mouseClick(&cancelled.CancelButton(), Qt::LeftButton);
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
    EXPECT_TRUE(cancelled.Name().isEmpty());
}

TEST(CreateFolderDialogTest, PromptAndButtonsAreNamed)
{
    CCreateFTPFolder dialog;
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Create FTP Folder"));
    EXPECT_FALSE(dialog.OkButton().accessibleName().isEmpty());
    EXPECT_FALSE(dialog.CancelButton().accessibleName().isEmpty());
    EXPECT_EQ(dialog.NameEdit().accessibleName(), QStringLiteral("Folder name"));
}

} // namespace
