#include "safety_helpers.h"

#include <cstdlib>

#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "sdl_events.h"

void PumpEditor() {
    AppActiveScreen().pollEvents();
    drawInterface(&AppActiveScreen());
}

std::string SavedFile(EditorFixture& f) {
    const std::string path = f.dir.file("compare.xml");
    EXPECT_TRUE(SaveDemoFile(path.c_str(), f.app().demo));
    return f.dir.Read("compare.xml");
}

std::string SavedBytes(EditorFixture& f) {
    const DemoStruct* d = f.app().demo;
    std::string bytes = SavedFile(f);
    // Hiding is part of what an undo must restore, whether the file keeps it or not.
    bytes += "\nhidden:";
    for (uint32_t t = 0; d && t < d->trackCount; t++) {
        bytes += d->tracks[t].hidden ? 'T' : 't';
        for (uint32_t e = 0; e < d->tracks[t].eventCount; e++)
            bytes += d->tracks[t].events[e].hidden ? 'E' : 'e';
    }
    return bytes;
}

void KeyWith(int sym, int unicode, int mods) {
    PushKeyDownWith(sym, unicode, mods);
    PumpEditor();
}

bool ClickPanelButton(EditorScreen& s, const std::string& label) {
    WidgetGroup* panel = s.panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++) {
        Button* b = dynamic_cast<Button*>(panel->childAt(i));
        if (b && label == b->label) {
            PushClick(b->x + b->w / 2, b->y + b->h / 2);
            PumpEditor();
            return true;
        }
    }
    return false;
}

void TypeAt(int x, int y, const std::string& text) {
    PushClick(x, y);
    for (int i = 0; i < 40; i++)
        PushKeyDown(SDLK_BACKSPACE, 8);
    for (char c : text)
        PushKeyDown(c == '-' ? (int)SDLK_MINUS : (int)(unsigned char)c, (unsigned char)c);
    PushKeyDown(SDLK_RETURN, 13);
    PumpEditor();
}

void TypeIntoField(TextField* field, const std::string& text) {
    ASSERT_NE(field, nullptr);
    TypeAt(field->x + 3, field->y + field->h / 2, text);
}

void ClickEventBlock(EditingFixture& e, int track, uint32_t ms) {
    e.Click(110 + (int)(ms * 520 / 10000) + 2, RowY(track));
}

void CopyExample(const ScratchDir& dir) {
    const std::string copy = "cp -r '" TRELLIC_SOURCE_DIR "/examples/.' '" + dir.path() + "'";
    ASSERT_EQ(system(copy.c_str()), 0);
    std::string xml = dir.Read("Fenk.xml");
    const std::string bare = "\"libFenk.so\"", full = "\"" TRELLIC_BIN_DIR "/libFenk.so\"";
    for (size_t at = xml.find(bare); at != std::string::npos; at = xml.find(bare, at + full.size()))
        xml.replace(at, bare.size(), full);
    dir.Write("Fenk.xml", xml);
}
