// Widget and WidgetGroup: hit test, callbacks, click order, focus routing,
// ownership and the 500-child limit.
#include <gtest/gtest.h>

#include "gui.h"
#include "probe_widget.h"

namespace {
struct CallbackLog {
    int primary = 0, secondary = 0, lastX = -1, lastY = -1, lastButton = -1;
} gCalls;
void Primary(int x, int y, int b) {
    gCalls.primary++;
    gCalls.lastX = x;
    gCalls.lastY = y;
    gCalls.lastButton = b;
}
void Secondary(int x, int y, int b) {
    gCalls.secondary++;
    gCalls.lastX = x;
    gCalls.lastY = y;
    gCalls.lastButton = b;
}
} // namespace

TEST(Widget, ConstructorStoresAbsoluteSizeAndCopiesPrimaryIntoSecondary) {
    Widget w(5, 6, -30, -40, Primary, nullptr);
    EXPECT_EQ(w.w, 30);
    EXPECT_EQ(w.h, 40);
    EXPECT_EQ(w.secondary, &Primary);
    Widget both(0, 0, 1, 1, Primary, Secondary);
    EXPECT_EQ(both.secondary, &Secondary);
}

TEST(Widget, ClickHitTestIncludesEdgesAndPassesButtonOne) {
    gCalls = {};
    Widget w(10, 20, 30, 40, Primary, nullptr);
    EXPECT_TRUE(w.click(10, 20, 3));
    EXPECT_TRUE(w.click(40, 60, 3));
    EXPECT_EQ(gCalls.primary, 2);
    EXPECT_EQ(gCalls.lastButton, 1);
    EXPECT_EQ(gCalls.lastX, 40);
    EXPECT_FALSE(w.click(41, 30, 1));
    EXPECT_FALSE(w.click(20, 19, 1));
    EXPECT_FALSE(w.click(9, 30, 1));
    EXPECT_FALSE(w.click(20, 61, 1));
    EXPECT_EQ(gCalls.primary, 2);
}

TEST(Widget, ClickPrefersSecondaryCallback) {
    gCalls = {};
    Widget w(0, 0, 10, 10, Primary, Secondary);
    EXPECT_TRUE(w.click(5, 5, 1));
    EXPECT_EQ(gCalls.secondary, 1);
    EXPECT_EQ(gCalls.primary, 0);
}

TEST(Widget, DefaultsDoNothing) {
    Widget w(0, 0, 10, 10, nullptr, nullptr);
    EXPECT_TRUE(w.click(5, 5, 1)); // a hit without callbacks still takes the click
    EXPECT_FALSE(w.grabFocus(5, 5));
    EXPECT_FALSE(w.key(97, 97));
    w.loseFocus();
    w.draw();
}

TEST(WidgetGroup, ClicksAskChildrenInInsertionOrderAndStopAtFirstTaker) {
    ProbeLog log;
    {
        WidgetGroup g;
        g.add(new ProbeWidget(&log, "a", 100, 100, 10, 10));
        g.add(new ProbeWidget(&log, "b", 0, 0, 50, 50));
        g.add(new ProbeWidget(&log, "c", 0, 0, 50, 50));
        EXPECT_TRUE(g.click(10, 10, 1));
        EXPECT_EQ(log.calls, (std::vector<std::string>{"a.click-1", "b.click+1"}));
        log.calls.clear();
        EXPECT_FALSE(g.click(300, 300, 2));
        EXPECT_EQ(log.calls.size(), 3u);
        log.calls.clear();
    }
    // Destroyed with the group, last added first.
    EXPECT_EQ(log.calls, (std::vector<std::string>{"c.destroy", "b.destroy", "a.destroy"}));
}

TEST(WidgetGroup, FocusMovesToFirstTakerAndOldChildLosesIt) {
    ProbeLog log;
    WidgetGroup g;
    g.add(new ProbeWidget(&log, "a", 0, 0, 10, 10, true, true));
    g.add(new ProbeWidget(&log, "b", 20, 0, 10, 10, true, false));
    EXPECT_TRUE(g.grabFocus(5, 5));
    EXPECT_EQ(g.focusIndex(), 0);
    EXPECT_TRUE(g.key(65, 65));
    log.calls.clear();
    EXPECT_TRUE(g.grabFocus(25, 5));
    EXPECT_EQ(g.focusIndex(), 1);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"a.grab-", "b.grab+", "a.lose"}));
    EXPECT_FALSE(g.key(65, 65)); // b does not handle keys
    log.calls.clear();
    // A press on nothing clears the focus.
    EXPECT_FALSE(g.grabFocus(500, 500));
    EXPECT_EQ(g.focusIndex(), -1);
    EXPECT_EQ(log.calls.back(), "b.lose");
    EXPECT_FALSE(g.key(65, 65));
}

TEST(WidgetGroup, PressOnTheFocusedChildAgainSendsNoLoseFocus) {
    ProbeLog log;
    WidgetGroup g;
    g.add(new ProbeWidget(&log, "a", 0, 0, 10, 10, true));
    g.grabFocus(5, 5);
    log.calls.clear();
    g.grabFocus(6, 6);
    EXPECT_EQ(log.calls, (std::vector<std::string>{"a.grab+"}));
    g.loseFocus();
    EXPECT_EQ(g.focusIndex(), -1);
    EXPECT_EQ(log.calls.back(), "a.lose");
}

TEST(WidgetGroup, FiveHundredFirstChildIsDestroyedAndGroupUnchanged) {
    ProbeLog log;
    WidgetGroup g;
    for (int i = 0; i < 500; i++)
        g.add(new ProbeWidget(nullptr, "x", 0, 0, 1, 1));
    EXPECT_EQ(g.childCount(), 500);
    Widget* last = g.childAt(499);
    g.add(new ProbeWidget(&log, "extra", 0, 0, 1, 1));
    EXPECT_EQ(log.calls, (std::vector<std::string>{"extra.destroy"}));
    EXPECT_EQ(g.childCount(), 500);
    EXPECT_EQ(g.childAt(499), last);
    EXPECT_EQ(g.childAt(500), nullptr);
    EXPECT_EQ(g.childAt(-1), nullptr);
}

TEST(WidgetGroup, ClearDestroysLastFirstResetsFocusAndRequestsRedraw) {
    ProbeLog log;
    WidgetGroup g;
    g.add(new ProbeWidget(&log, "a", 0, 0, 10, 10, true, true));
    g.add(new ProbeWidget(&log, "b", 0, 0, 10, 10));
    g.grabFocus(5, 5);
    g.redrawRequested = false;
    log.calls.clear();
    g.clear();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"b.destroy", "a.destroy"}));
    EXPECT_EQ(g.childCount(), 0);
    EXPECT_EQ(g.focusIndex(), -1);
    EXPECT_TRUE(g.redrawRequested);
    // Keys after a clear reach nobody instead of a destroyed child.
    EXPECT_FALSE(g.key(65, 65));
}

TEST(WidgetGroup, AddRequestsRedrawAndIgnoresNull) {
    WidgetGroup g;
    g.add(nullptr);
    EXPECT_EQ(g.childCount(), 0);
    g.add(new Widget(0, 0, 1, 1, nullptr, nullptr));
    EXPECT_TRUE(g.redrawRequested);
    EXPECT_EQ(g.childCount(), 1);
}
