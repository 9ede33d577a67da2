#include "editing_fixture.h"

#include <cstdio>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "demo_builder.h"
#include "safety_helpers.h"
#include "sdl_events.h"

namespace {

const int kLoadX = 40, kLoadY = 275;

void WriteImage(const std::string& path, int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(s, nullptr);
    SDL_SaveBMP(s, path.c_str());
    SDL_FreeSurface(s);
}

} // namespace

int RowY(int track) {
    return 240 + 20 + 15 * track + 6;
}

EditingFixture::EditingFixture() {
    DemoStruct d = EmptyDemo();
    const std::string lib = PluginPath("RecordPlugin");
    AddLibrary(d, lib,
               {{"Effect16",
                 {"PosX", "PosY", "ImageNr", "Red", "Green", "Blue", "Scale", "Opacity", "Level", "P9", "P10",
                  "P11", "P12", "P13", "P14", "P15"}},
                {"Effect5", {"PosX", "PosY", "ImageNr", "Red", "Green"}},
                {"Effect1", {"Value"}},
                {"Effect0", {}}});
    AddTrack(d);
    AddTrack(d);
    AddTrack(d);
    AddEvent(d, 0, lib, "Effect5", 0, 1000, {0, 3000, 1, 10, 20}, {1000, 3000, 1, 10, 20});
    AddEvent(d, 0, lib, "Effect1", 2000, 3000, {5}, {7});
    std::vector<int32_t> values16;
    for (int32_t i = 0; i < 16; i++)
        values16.push_back(i * 10);
    AddEvent(d, 1, lib, "Effect16", 500, 1500, values16, values16);
    d.runningTime = 10000;
    d.inputMusicFile = CopyString("");
    d.author = CopyString("Tester");
    if (!SaveDemoFile(f.dir.file("Fenk.xml").c_str(), &d)) ADD_FAILURE() << "could not write the demo";
    ReleaseDemo(d);

    WriteImage(f.dir.file("small.bmp"), 33, 32);   // 4224 bytes
    WriteImage(f.dir.file("complex.bmp"), 32, 16); // complex: 2 x 2048 bytes
    f.dir.Write("ImageList.txt", "small.bmp 0\nmissing.bmp 1\ncomplex.bmp 1\nalso-missing.bmp 0\n");

    Click(kLoadX, kLoadY);
    EXPECT_STREQ("Demo loaded", f.screen().statusText);
}

void EditingFixture::Pump() {
    AppActiveScreen().pollEvents();
    drawInterface(&AppActiveScreen());
}

void EditingFixture::Click(int x, int y, int button) {
    PushClick(x, y, button);
    Pump();
}

void EditingFixture::TypeInto(int x, int y, const std::string& text) {
    TypeAt(x, y, text);
}

void EditingFixture::ClickInDialog(int dialogX, int dialogY, int openerX, int openerY) {
    PushClick(dialogX, dialogY);
    PushKeyDown(SDLK_ESCAPE, 27);
    // The opener's click runs the dialog, which finds the queued events.
    AppActiveScreen().click(openerX, openerY, 1);
    DrainEvents();
}

std::string EditingFixture::PanelText(int index) {
    WidgetGroup* panel = f.screen().panelGroup;
    Widget* w = panel ? panel->childAt(index) : nullptr;
    if (Label* l = dynamic_cast<Label*>(w)) return l->text ? l->text : "";
    if (Button* b = dynamic_cast<Button*>(w)) return b->label;
    return "";
}

int EditingFixture::FindPanelText(const std::string& text) {
    WidgetGroup* panel = f.screen().panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++)
        if (PanelText(i) == text) return i;
    return -1;
}
