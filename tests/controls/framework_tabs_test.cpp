// The tab control with dialog pages: focus memory, hooks, keys on a page, routing, removal.
#include "framework_test_app.h"

#include "CommandCodes.h"
#include "DialogTemplate.h"
#include "MyFontDialog.h"
#include "PageTabCtrl.h"
#include "TabPage.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr unsigned kPageA = 9301;
constexpr unsigned kPageB = 9302;
constexpr unsigned kHost = 9303;
constexpr int kFirst = 700;
constexpr int kSecond = 701;
constexpr int kPush = 702;
constexpr int kTabs = 710;

void RegisterTemplates()
{
    using namespace tpl;
    for (unsigned id : {kPageA, kPageB})
        RegisterDialogTemplate({id, "Page",
                                Column({Control(kFirst, "EDIT"), Control(kSecond, "EDIT"),
                                        Control(kPush, "BUTTON", "Go"), Stretch()})});
    RegisterDialogTemplate({kHost, "Host",
                            Column({Control(kTabs, "TABCONTROL"),
                                    Row({Stretch(), Control(ctl::kIdOk, "BUTTON", "OK")})})});
}

class LoggingTabs : public CPageTabCtrl {
public:
    using CPageTabCtrl::CPageTabCtrl;
    std::vector<std::string> log;
    bool focusFirst = true;

protected:
    bool OnInitPage(int index, int id) override
    {
        log.push_back("init " + std::to_string(index) + " " + std::to_string(id));
        return focusFirst;
    }
    void OnActivatePage(int index, int id) override
    {
        log.push_back("activate " + std::to_string(index) + " " + std::to_string(id));
    }
    void OnDeactivatePage(int index, int id) override
    {
        log.push_back("deactivate " + std::to_string(index) + " " + std::to_string(id));
    }
    void OnDestroyPage(int index, int id) override
    {
        log.push_back("destroy " + std::to_string(index) + " " + std::to_string(id));
    }
};

class RecordingPage : public CTabPage {
public:
    explicit RecordingPage(unsigned id) : CTabPage(id) {}
    std::vector<std::pair<int, int>> commands;

protected:
    bool OnCommand(int id, int code) override
    {
        commands.emplace_back(id, code);
        return false;
    }
};

class Host : public CMyFontDialog {
public:
    Host() : CMyFontDialog(kHost) {}
    int oks = 0;
    int cancels = 0;
    std::vector<std::pair<int, int>> commands;

protected:
    void OnOK() override { ++oks; }
    void OnCancel() override { ++cancels; }
    bool OnCommand(int id, int code) override
    {
        commands.emplace_back(id, code);
        return true;
    }
};

// A click with the mouse on tab `index`, as the user makes it.
void ClickTab(QTabBar* bar, int index)
{
    QPoint at = bar->tabRect(index).center();
    QMouseEvent press(QEvent::MouseButtonPress, at, bar->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, bar->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &release);
}

void PressKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

class TabsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        fwtest::App();
        RegisterTemplates();
        window.resize(400, 300);
        tabs = new LoggingTabs(&window);
        tabs->resize(400, 300);
        ASSERT_TRUE(pageA.Create(kPageA, &window));
        ASSERT_TRUE(pageB.Create(kPageB, &window));
        ASSERT_EQ(tabs->AddPage("Split", &pageA, 2000), 0);
        ASSERT_EQ(tabs->AddPage("Memories", &pageB, 2001), 1);
        window.show();
        window.activateWindow();
        QApplication::processEvents();
    }
    void TearDown() override { tabs->RemoveAllPages(); }

    QApplication& app = fwtest::App();  // before any widget
    QWidget window;
    LoggingTabs* tabs = nullptr;
    RecordingPage pageA{kPageA};
    RecordingPage pageB{kPageB};
};

TEST_F(TabsTest, OnlyTheCurrentPageIsShown)
{
    EXPECT_EQ(tabs->GetItemCount(), 2);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_TRUE(pageA.isVisible());
    EXPECT_FALSE(pageB.isVisible());
    EXPECT_EQ(pageA.parentWidget()->parentWidget(), tabs);
    EXPECT_TRUE(tabs->ActivatePage(1));
    EXPECT_FALSE(pageA.isVisible());
    EXPECT_TRUE(pageB.isVisible());
    EXPECT_EQ(tabs->GetCurSel(), 1);
    EXPECT_EQ(tabs->TabBar()->currentIndex(), 1);
    EXPECT_TRUE(tabs->ActivatePage(1));  // already current
    EXPECT_FALSE(tabs->ActivatePage(2));
    EXPECT_EQ(tabs->GetCurSel(), 1);
}

TEST_F(TabsTest, SwitchingPagesWithTheMouseRestoresTheFocus)
{
    auto* secondA = pageA.GetDlgItemAs<QLineEdit>(kSecond);
    auto* firstB = pageB.GetDlgItemAs<QLineEdit>(kFirst);
    auto* pushB = pageB.GetDlgItemAs<QPushButton>(kPush);
    secondA->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), secondA);

    ClickTab(tabs->TabBar(), 1);
    EXPECT_EQ(tabs->GetCurSel(), 1);
    // A page never visited starts on its first control.
    EXPECT_EQ(QApplication::focusWidget(), firstB);
    pushB->setFocus();
    QApplication::processEvents();

    ClickTab(tabs->TabBar(), 0);
    EXPECT_EQ(tabs->GetCurSel(), 0);
    EXPECT_EQ(QApplication::focusWidget(), secondA);
    ClickTab(tabs->TabBar(), 1);
    EXPECT_EQ(QApplication::focusWidget(), pushB);
}

TEST_F(TabsTest, UserSelectionCallsTheHooksButActivatePageDoesNot)
{
    std::vector<std::string> expectedInit = {"init 0 2000", "init 1 2001"};
    EXPECT_EQ(tabs->log, expectedInit);
    tabs->log.clear();
    ClickTab(tabs->TabBar(), 1);
    std::vector<std::string> expected = {"deactivate 0 2000", "activate 1 2001"};
    EXPECT_EQ(tabs->log, expected);
    tabs->log.clear();
    tabs->ActivatePage(0);
    EXPECT_TRUE(tabs->log.empty());
}

TEST_F(TabsTest, RemovedFocusControlFallsBackToTheFirstControl)
{
    auto* secondB = pageB.GetDlgItemAs<QLineEdit>(kSecond);
    tabs->ActivatePage(1);
    secondB->setFocus();
    QApplication::processEvents();
    tabs->ActivatePage(0);
    delete secondB;
    tabs->ActivatePage(1);
    EXPECT_EQ(QApplication::focusWidget(), pageB.GetDlgItem(kFirst));
}

TEST_F(TabsTest, NullPageIsRefused)
{
    EXPECT_EQ(tabs->AddPage("Nothing", nullptr, 2005), -1);
    EXPECT_EQ(tabs->GetItemCount(), 2);
    EXPECT_EQ(tabs->TabBar()->count(), 2);
}

TEST_F(TabsTest, RemoveAllPagesCallsTheHookLastFirstAndKeepsPagesOwnedElsewhere)
{
    QPointer<QWidget> owned = new QWidget;
    tabs->AddPage("Owned", owned, 2009, true);
    tabs->log.clear();
    tabs->RemoveAllPages();
    std::vector<std::string> expected = {"destroy 2 2009", "destroy 1 2001", "destroy 0 2000"};
    EXPECT_EQ(tabs->log, expected);
    EXPECT_TRUE(owned.isNull());
    EXPECT_EQ(pageA.parentWidget(), nullptr);
    EXPECT_EQ(tabs->GetItemCount(), 0);
    EXPECT_EQ(tabs->GetCurSel(), -1);
    EXPECT_EQ(tabs->TabBar()->count(), 0);
}

TEST(TabPageTest, EnterAndEscOnAPageDoNothing)
{
    fwtest::App();
    RegisterTemplates();
    Host host;
    RecordingPage page(kPageA);
    bool pageStillShown = false;
    fwtest::WhenModal([&] {
        auto* tabs = host.GetDlgItemAs<CPageTabCtrl>(kTabs);
        ASSERT_NE(tabs, nullptr);
        ASSERT_TRUE(page.Create(kPageA, &host));
        tabs->AddPage("Page", &page, 2000);
        QWidget* edit = page.GetDlgItem(kFirst);
        PressKey(edit, Qt::Key_Return);
        PressKey(edit, Qt::Key_Escape);
        PressKey(&page, Qt::Key_Enter);
        pageStillShown = page.isVisible();
        tabs->RemoveAllPages();
        host.EndDialog(ctl::kIdOk);
    });
    EXPECT_EQ(host.DoModal(), ctl::kIdOk);
    EXPECT_TRUE(pageStillShown);
    EXPECT_EQ(host.oks, 0);
    EXPECT_EQ(host.cancels, 0);
}

TEST(TabPageTest, CommandsStayOnThePageUnlessRouted)
{
    fwtest::App();
    RegisterTemplates();
    Host host;
    RecordingPage page(kPageA);
    fwtest::WhenModal([&] {
        auto* tabs = host.GetDlgItemAs<CPageTabCtrl>(kTabs);
        ASSERT_TRUE(page.Create(kPageA, &host));
        tabs->AddPage("Page", &page, 2000);
        auto* push = page.GetDlgItemAs<QPushButton>(kPush);
        push->click();
        page.RouteCommand = 1;
        push->click();
        tabs->RemoveAllPages();
        host.EndDialog(ctl::kIdOk);
    });
    host.DoModal();
    std::vector<std::pair<int, int>> both = {{kPush, ctl::kBnClicked}, {kPush, ctl::kBnClicked}};
    EXPECT_EQ(page.commands, both);
    std::vector<std::pair<int, int>> routed = {{kPush, ctl::kBnClicked}};
    EXPECT_EQ(host.commands, routed);
}

}  // namespace

// Pages taller than the tab control scroll, each on its own: a page comes back where it was left
// and starts at the top when first shown.
TEST_F(TabsTest, EachPageKeepsItsOwnScrollPosition)
{
    tabs->EnablePageScrolling();
    pageA.setMinimumHeight(1200);
    pageB.setMinimumHeight(900);
    QApplication::processEvents();
    auto* area = tabs->findChild<QScrollArea*>();
    ASSERT_NE(area, nullptr);
    QScrollBar* bar = area->verticalScrollBar();
    const auto settled = [] {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    };
    ASSERT_GT(bar->maximum(), 300);
    bar->setValue(300);

    ClickTab(tabs->TabBar(), 1);
    settled();
    EXPECT_EQ(bar->value(), 0);
    bar->setValue(150);
    ClickTab(tabs->TabBar(), 0);
    settled();
    EXPECT_EQ(bar->value(), 300);
    ClickTab(tabs->TabBar(), 1);
    settled();
    EXPECT_EQ(bar->value(), 150);
    tabs->ActivatePage(0);
    settled();
    EXPECT_EQ(bar->value(), 300);
}
