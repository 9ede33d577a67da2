// The event panel of every effect of the example, at the three usual window
// sizes and on every page of its parameter rows: no two widgets overlap (so
// every press reaches the widget drawn there), everything stays inside the
// panel, and every parameter is shown on some page.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include <SDL/SDL.h>

#include "editor.h"
#include "event_panel_layout.h"
#include "font.h"
#include "recorded_widgets.h"
#include "safety_helpers.h"

namespace {

struct Placed {
    std::string what;
    PanelRect r;
    bool pressable; // takes presses (or draws where a press would go)
};

std::string Describe(const Placed& p) {
    std::ostringstream o;
    o << p.what << " (" << p.r.x << ", " << p.r.y << ", " << p.r.w << " x " << p.r.h << ")";
    return o.str();
}

// Every widget of the panel with the rectangle it draws or answers presses in.
std::vector<Placed> PanelRectangles(EditorScreen& s) {
    std::vector<Placed> out;
    WidgetGroup* panel = s.panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++) {
        Widget* w = panel->childAt(i);
        if (Button* b = dynamic_cast<Button*>(w)) {
            out.push_back({std::string("button ") + b->label, {b->x, b->y, b->w, b->h}, true});
        } else if (TextField* f = dynamic_cast<TextField*>(w)) {
            out.push_back({std::string("field ") + f->GetText(), {f->x, f->y, f->w + 2, f->h + 2}, true});
        } else if (ColourPicker* p = dynamic_cast<ColourPicker*>(w)) {
            // What it draws; its lowest press row (y + 27) changes nothing.
            out.push_back({"picker", {p->x, p->y, p->DrawnWidth(), 27}, true});
        } else if (EventTimeEditor* t = dynamic_cast<EventTimeEditor*>(w)) {
            for (UIntField* f : {t->startField, t->lengthField})
                out.push_back({"time field", {f->x, f->y, f->w + 2, f->h + 2}, true});
        } else if (ParamGraph* g = dynamic_cast<ParamGraph*>(w)) {
            EXPECT_TRUE(g->rowsGiven);
            for (const ParamGraph::Row& row : g->rows)
                out.push_back({"curve", {windowWidth / 2 + 180, row.y, 43, 17}, true});
        } else if (Label* l = dynamic_cast<Label*>(w)) {
            const int width = l->text ? (int)l->font->textWidth(l->text, 0, -1) : 0;
            out.push_back({std::string("label ") + (l->text ? l->text : ""), {l->x, l->y, width, 14}, false});
        }
    }
    return out;
}

void CheckPanel(EditorScreen& s, const std::string& where) {
    const int W = windowWidth, H = windowHeight;
    const std::vector<Placed> placed = PanelRectangles(s);
    for (size_t i = 0; i < placed.size(); i++) {
        const PanelRect& r = placed[i].r;
        EXPECT_TRUE(r.x >= W / 2 && r.x + r.w <= W && r.y >= 0 && r.y + r.h <= H / 2)
            << where << ": " << Describe(placed[i]) << " leaves the panel";
        if (!placed[i].pressable) continue;
        for (size_t j = i + 1; j < placed.size(); j++) {
            if (!placed[j].pressable) continue;
            EXPECT_FALSE(r.Overlaps(placed[j].r))
                << where << ": " << Describe(placed[i]) << " overlaps " << Describe(placed[j]);
        }
    }
}

class EventPanelLayoutTest : public ::testing::TestWithParam<std::pair<int, int>> {};

} // namespace

TEST_P(EventPanelLayoutTest, EveryEffectOfTheExampleOnEveryPageOverlapsNothing) {
    const int W = GetParam().first, H = GetParam().second;
    EditorFixture f(W, H);
    CopyExample(f.dir);
    LoadDemoCommand(0, 0, 1);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    EditorApp& app = f.app();
    EditorScreen& s = f.screen();
    ASSERT_GT(app.FunctionCount(0), 20u);
    for (uint32_t fn = 0; fn < app.FunctionCount(0); fn++) {
        const std::string name = app.FunctionName(0, fn);
        ASSERT_TRUE(app.ChangeEffect(0, 0, 0, fn));
        s.SelectTrack(-1);
        s.SelectEvent(0, 0);
        // Page through the rows, collecting every parameter shown.
        std::set<uint32_t> shown;
        for (int page = 0; page < 20; page++) {
            const std::string where = name + " at " + std::to_string(W) + "x" + std::to_string(H) + ", page " +
                                      std::to_string(page);
            CheckPanel(s, where);
            const EventPanelLayout l = LayoutEventPanel(0, 0, s.paramFirstRow);
            for (const ParamRow& row : l.rows)
                for (uint32_t k = 0; k < (row.kind == ParamRow::kColour ? 3u : 1u); k++)
                    shown.insert(row.param + k);
            if (!l.paged || l.firstRow + (int)l.rows.size() >= l.totalRows) break;
            ASSERT_FALSE(l.rows.empty()) << where;
            ASSERT_TRUE(ClickPanelButton(s, "Down")) << where;
        }
        EXPECT_EQ(shown.size(), app.EventParamCount(0, 0)) << name << " at " << W << "x" << H;
    }
}

INSTANTIATE_TEST_SUITE_P(WindowSizes, EventPanelLayoutTest,
                         ::testing::Values(std::make_pair(640, 480), std::make_pair(800, 600),
                                           std::make_pair(1024, 768)));

TEST(EventPanelLayoutPaging, UpAndDownPageTheRowsAndAnotherEventStartsAtTheTop) {
    EditorFixture f(640, 480);
    CopyExample(f.dir);
    LoadDemoCommand(0, 0, 1);
    EditorApp& app = f.app();
    EditorScreen& s = f.screen();
    uint32_t rasterize = 0;
    while (rasterize < app.FunctionCount(0) && std::string(app.FunctionName(0, rasterize)) != "Rasterize")
        rasterize++;
    ASSERT_TRUE(app.ChangeEffect(0, 0, 0, rasterize));
    s.SelectEvent(0, 0);
    EventPanelLayout l = LayoutEventPanel(0, 0, 0);
    ASSERT_TRUE(l.paged);
    EXPECT_EQ(l.totalRows, 14);
    const int perPage = (int)l.rows.size();
    ASSERT_GT(perPage, 3);
    EXPECT_GE(PanelCount<ParamField>(s), 2 * (perPage - 1));
    ASSERT_TRUE(ClickPanelButton(s, "Down"));
    EXPECT_EQ(s.paramFirstRow, perPage);
    ParamField* first = PanelWidget<ParamField>(s, 0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->stepName, std::string("Edit ") + app.EventParamName(0, 0, (uint32_t)perPage));
    // A value on the second page is edited like any other, and undone.
    const int32_t before = app.EventStartValue(0, 0, (uint32_t)perPage);
    TypeIntoField(first, "77");
    EXPECT_EQ(app.EventStartValue(0, 0, (uint32_t)perPage), 77);
    EXPECT_EQ(s.paramFirstRow, perPage);
    CtrlKey(SDLK_z);
    EXPECT_EQ(app.EventStartValue(0, 0, (uint32_t)perPage), before);
    ASSERT_TRUE(ClickPanelButton(s, "Up"));
    EXPECT_EQ(s.paramFirstRow, 0);
    ASSERT_TRUE(ClickPanelButton(s, "Down"));
    s.SelectEvent(0, 1);
    EXPECT_EQ(s.paramFirstRow, 0);
}

TEST(EventPanelLayoutPicker, AShortBarStillReachesBothEndsOfTheRange) {
    EditorFixture f(640, 480);
    int r = 10, g = 20, b = 30;
    ColourPicker p(100, 100, &r, &g, &b);
    p.SetBarLength(182);
    EXPECT_EQ(p.DrawnWidth(), 220);
    EXPECT_TRUE(p.click(100 + 5 + 181, 103, 1));
    EXPECT_EQ(r, 255);
    EXPECT_TRUE(p.click(100 + 5, 112, 1));
    EXPECT_EQ(g, 0);
    EXPECT_TRUE(p.click(100 + 5 + 90, 121, 1));
    EXPECT_EQ(b, (90 * 255 + 90) / 181); // 127
    EXPECT_FALSE(p.click(100 + 5 + 182, 103, 1));
    EXPECT_EQ(r, 255);
}
