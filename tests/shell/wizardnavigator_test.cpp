// SPDX-License-Identifier: GPL-2.0-or-later
#include <gtest/gtest.h>

#include <QStringList>

#include "shell/wizardnavigator.h"

namespace
{

// A page that answers as told and records what it was asked.
class ScriptedPage : public WizardPage
{
public:
    explicit ScriptedPage(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}
    void InitialiseOnce() override
    {
        if (initialisations == 0)
            ++initialisations;
    }
    bool OnSetActive() override
    {
        m_log << m_name + QStringLiteral(" active");
        activeUninitialised = activeUninitialised || initialisations == 0;
        return acceptActive;
    }
    bool OnKillActive() override
    {
        m_log << m_name + QStringLiteral(" left");
        return letGo;
    }
    int OnWizardNext() override { return next; }
    int OnWizardBack() override { return back; }
    bool OnWizardFinish() override { return finish; }

    bool acceptActive = true;
    bool letGo = true;
    int next = Default;
    int back = Default;
    bool finish = true;
    int initialisations = 0;
    bool activeUninitialised = false; // made active before its one-time set-up

private:
    QString m_name;
    QStringList& m_log;
};

class NavigatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (ScriptedPage& page : pages)
            navigator.AddPage(page);
        navigator.SetPageChanged([this](int index) { shown << index; });
    }
    QStringList log;
    ScriptedPage pages[4] = {ScriptedPage("p0", log), ScriptedPage("p1", log),
                             ScriptedPage("p2", log), ScriptedPage("p3", log)};
    WizardNavigator navigator;
    QList<int> shown;
};

} // namespace

TEST_F(NavigatorTest, NextAndBackMoveOnePageUnlessThePageAnswersOtherwise)
{
    ASSERT_TRUE(navigator.SetActivePage(0));
    EXPECT_TRUE(navigator.Next());
    EXPECT_EQ(navigator.ActiveIndex(), 1);
    EXPECT_TRUE(navigator.Back());
    EXPECT_EQ(navigator.ActiveIndex(), 0);
    pages[0].next = 3; // a jump
    EXPECT_TRUE(navigator.Next());
    EXPECT_EQ(navigator.ActiveIndex(), 3);
    pages[3].back = 1;
    EXPECT_TRUE(navigator.Back());
    EXPECT_EQ(navigator.ActiveIndex(), 1);
    EXPECT_EQ(shown, (QList<int>{0, 1, 0, 3, 1}));
    EXPECT_EQ(log.mid(0, 4), (QStringList{"p0 active", "p0 left", "p1 active", "p1 left"}));
}

TEST_F(NavigatorTest, StayKeepsThePageWithoutLeavingIt)
{
    navigator.SetActivePage(2);
    log.clear();
    pages[2].next = WizardPage::Stay;
    pages[2].back = WizardPage::Stay;
    EXPECT_FALSE(navigator.Next());
    EXPECT_FALSE(navigator.Back());
    EXPECT_EQ(navigator.ActiveIndex(), 2);
    EXPECT_TRUE(log.isEmpty());
}

TEST_F(NavigatorTest, APageThatJumpsItselfAndStaysEndsOnItsTarget)
{
    navigator.SetActivePage(0);
    struct Jumper : ScriptedPage {
        using ScriptedPage::ScriptedPage;
        int OnWizardNext() override
        {
            navigator->SetActivePage(2);
            return Stay;
        }
        WizardNavigator* navigator = nullptr;
    };
    QStringList ownLog;
    WizardNavigator other;
    Jumper jumper("j", ownLog);
    jumper.navigator = &other;
    other.AddPage(jumper);
    other.AddPage(pages[1]);
    other.AddPage(pages[2]);
    other.SetActivePage(0);
    other.Next();
    EXPECT_EQ(other.ActiveIndex(), 2);
}

TEST_F(NavigatorTest, RefusalsAndIndexesOutsideTheWizardKeepTheActivePage)
{
    navigator.SetActivePage(1);
    pages[1].letGo = false;
    EXPECT_FALSE(navigator.Next());
    EXPECT_EQ(navigator.ActiveIndex(), 1);
    pages[1].letGo = true;
    pages[2].acceptActive = false;
    EXPECT_FALSE(navigator.Next());
    EXPECT_EQ(navigator.ActiveIndex(), 1);
    EXPECT_EQ(log.last(), QStringLiteral("p1 active")); // back on the page it left
    EXPECT_FALSE(navigator.SetActivePage(4));
    EXPECT_FALSE(navigator.SetActivePage(-1));
    navigator.SetActivePage(3);
    EXPECT_FALSE(navigator.Next()); // nothing after the last page
    EXPECT_EQ(navigator.ActiveIndex(), 3);
}

TEST_F(NavigatorTest, FinishAsksTheActivePage)
{
    EXPECT_FALSE(navigator.Finish()); // no page active yet
    navigator.SetActivePage(3);
    pages[3].finish = false;
    EXPECT_FALSE(navigator.Finish());
    pages[3].finish = true;
    EXPECT_TRUE(navigator.Finish());
}

TEST_F(NavigatorTest, EveryWayToAPageSetsItUpBeforeItBecomesActive)
{
    ASSERT_TRUE(navigator.SetActivePage(0));
    EXPECT_TRUE(navigator.Next());
    pages[1].next = 3; // a page's own jump
    EXPECT_TRUE(navigator.Next());
    pages[3].back = 0;
    EXPECT_TRUE(navigator.Back());
    for (int i : {0, 1, 3})
        EXPECT_EQ(pages[i].initialisations, 1) << i;
    EXPECT_EQ(pages[2].initialisations, 0); // never shown
    for (const ScriptedPage& page : pages)
        EXPECT_FALSE(page.activeUninitialised);
    // A page that will not let go keeps the next one from being set up.
    pages[3].letGo = false;
    navigator.SetActivePage(3);
    EXPECT_FALSE(navigator.SetActivePage(2));
    EXPECT_EQ(pages[2].initialisations, 0);
}

TEST_F(NavigatorTest, ALockedWizardStaysOnItsPageWithoutAskingIt)
{
    navigator.SetActivePage(1);
    log.clear();
    navigator.SetLocked(true);
    EXPECT_FALSE(navigator.Next());
    EXPECT_FALSE(navigator.Back());
    EXPECT_FALSE(navigator.SetActivePage(3));
    EXPECT_FALSE(navigator.Finish());
    EXPECT_EQ(navigator.ActiveIndex(), 1);
    EXPECT_TRUE(log.isEmpty()); // the page was not even asked to let go
    navigator.SetLocked(false);
    EXPECT_TRUE(navigator.Next());
    EXPECT_EQ(navigator.ActiveIndex(), 2);
}
