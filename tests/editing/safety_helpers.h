// Helpers for driving the editor's undo, keys and questions with real events.
#pragma once

#include <string>

#include "editing_fixture.h"

// One pass of the active screen: pump its events, then draw it.
void PumpEditor();
// The demo as a save would write it now.
std::string SavedFile(EditorFixture& f);
inline std::string SavedFile(EditingFixture& e) {
    return SavedFile(e.f);
}
// The same, with the hidden flags after it: everything an undo restores.
std::string SavedBytes(EditorFixture& f);
inline std::string SavedBytes(EditingFixture& e) {
    return SavedBytes(e.f);
}
// A key with the given modifiers held (KMOD_*), pumped.
void KeyWith(int sym, int unicode, int mods);
inline void KeyWith(EditingFixture&, int sym, int unicode, int mods) {
    KeyWith(sym, unicode, mods);
}
// A key with Ctrl (and Shift) held, pumped through the editor screen.
inline void CtrlKey(int sym, bool shift = false) {
    KeyWith(sym, sym - 'a' + 1, 0x0040 /* KMOD_LCTRL */ | (shift ? 0x0001 /* KMOD_LSHIFT */ : 0));
}
inline void CtrlKey(EditingFixture&, int sym, bool shift = false) {
    CtrlKey(sym, shift);
}
// The index-th widget of type T in the panel, or null.
template <typename T> T* PanelWidget(EditorScreen& s, int index = 0) {
    WidgetGroup* panel = s.panelGroup;
    for (int i = 0; panel && i < panel->childCount(); i++)
        if (T* w = dynamic_cast<T*>(panel->childAt(i)))
            if (index-- == 0) return w;
    return nullptr;
}
template <typename T> T* PanelWidget(EditingFixture& e, int index = 0) {
    return PanelWidget<T>(e.screen(), index);
}
// How many widgets of type T the panel holds.
template <typename T> int PanelCount(EditorScreen& s) {
    int n = 0;
    while (PanelWidget<T>(s, n))
        n++;
    return n;
}
// Presses the middle of the panel button labelled `label`; false when there is none.
bool ClickPanelButton(EditorScreen& s, const std::string& label);
inline bool ClickPanelButton(EditingFixture& e, const std::string& label) {
    return ClickPanelButton(e.screen(), label);
}
// Presses at (x, y) (inside an edit field), empties it, types `text` and Return.
void TypeAt(int x, int y, const std::string& text);
// Presses inside `field`, empties it, types `text` and Return.
void TypeIntoField(TextField* field, const std::string& text);
// Selects an event by pressing its block on the timeline (640 x 480, running time 10 s).
void ClickEventBlock(EditingFixture& e, int track, uint32_t ms);
// Copies the bundled example into `dir`, its library named by full path.
void CopyExample(const ScratchDir& dir);
