// An editor with a demo loaded through the load button, for driving the
// timeline, panels and dialogs with real SDL events in a 640 x 480 window.
#pragma once

#include <string>

#include "demo.h"
#include "editor_fixture.h"

// Functions of the test demo's library (the recording plug-in) and their parameters:
//   Effect16: PosX PosY ImageNr Red Green Blue Scale Opacity Level P9..P15
//   Effect5:  PosX PosY ImageNr Red Green  (a colour row with only one channel after "Red")
//   Effect1:  Value
//   Effect0:  (none)
// Track 0: Effect5 0..1000 (PosX 0 -> 1000), Effect1 2000..3000
// Track 1: Effect16 500..1500
// Track 2: empty
struct EditingFixture {
    EditingFixture();

    EditorApp& app() { return f.app(); }
    EditorScreen& screen() { return f.screen(); }
    DemoStruct& demo() { return *f.app().demo; }

    // One pass of the active screen: pump its events, then draw it.
    void Pump();
    void Click(int x, int y, int button = 1);
    // Presses inside an edit field, clears it and types `text` followed by Return.
    void TypeInto(int x, int y, const std::string& text);
    // Queues a click for a dialog, with an Escape after it so a missed click
    // still ends the dialog; `clickAt` then runs the command that opens it.
    void ClickInDialog(int dialogX, int dialogY, int openerX, int openerY);
    // The text of panel child `index` when it is a Label or Button, else "".
    std::string PanelText(int index);
    // Index of the first panel child whose text is `text`, or -1.
    int FindPanelText(const std::string& text);

    EditorFixture f;
};

// Positions in the 640 x 480 window.
const int kRowX = 300;   // an empty spot of every track row (3653 ms)
const int kEmptyX = 500; // further right (7500 ms)
int RowY(int track);     // middle of a track row
const int kDemoInfoX = 40, kDemoInfoY = 360;
const int kSaveX = 40, kSaveY = 310;
