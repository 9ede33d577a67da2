// Timeline widgets: one row per track with a block per event, the event panel's
// start and length editor and parameter curves, and the motion path drawn over
// the preview. They read the open demo and the editor's selection through App()
// afresh every frame, so a rebuilt demo never leaves them pointing at old data.
#pragma once

#include <cstdint>
#include <vector>

#include "gui.h"
#include "row_painter.h"
#include "timeline_view.h"

// Timeline geometry for a window of width w and height h, unzoomed.
const int kTimelineLeft = 110;  // x of time 0
const int kTimelineMargin = 10; // right margin of the axis
const int kTrackRowPitch = 15;
const int kTrackRowHeight = 12;
const int kMinBlockWidth = 3;   // pixels: every event stays visible and pressable
const int kBlockReach = 3;      // pixels: a press this close to a block takes it
// Through the editor's TimelineView: the top of a track's row (meaningful when
// TrackRowVisible), and x of time t (the axis start when the running time is 0;
// outside kTimelineLeft .. windowWidth - kTimelineMargin when t is not in view).
int TrackRowTop(uint32_t track);
bool TrackRowVisible(uint32_t track);
int TimelineX(uint32_t t);
// The time under x, clamped to [0, running time].
uint32_t TimelineTimeAt(int x);

// The event block of `track` nearest to x within kBlockReach pixels, for a press
// at (x, y) on the track's row; -1 when none.
int32_t BlockAt(uint32_t track, int x, int y);

// The track rows of the editor (its trackGroup): draws every shown row with its
// blocks in one batch, the scroll bars when the view needs them, and routes
// presses to the row under the pointer. Its children are the TrackRows.
class TimelineRows : public WidgetGroup {
  public:
    TimelineRows();
    ~TimelineRows() override;
    void draw() override;
    bool click(int px, int py, int button) override;
    // A TakeOverFunction for the panel behind the rows: the block from the
    // first shown row's top to the last one's bottom, which draw() then paints
    // whole, the gaps in the panel's colour with what crossed them drawn again.
    static void TakeOverBlock(uint32_t colour, std::vector<PixelRect>& taken);

  private:
    bool ClickScrollBars(int px, int py, int button);
    Label* nameLabel = nullptr; // draws the track names
};

// One track's row; its children are the track's event blocks, kept for the
// widget tree: the row draws and hit-tests every event of its track itself. Its
// pump never runs.
class TrackRow : public GuiScreen {
  public:
    explicit TrackRow(uint32_t track);
    void draw() override;
    bool click(int px, int py, int button) override;

    uint32_t track;
    uint32_t markerTime = 0; // ms; where "Add New Event" puts a new event
};

// Draws tracks [first, last] as far as they are shown in `view`: row fills, the
// framed row of the track panel with its marker at `marker`, every event block
// (painted into one texture, a quad per row), and with `names` the track names
// at the rows' left ends.
// With `gapColour` the rows' whole block is painted: the gaps between the rows
// in that colour, and the lines drawn across them before (the frames, the
// marker, the time slider's cursor line) drawn there again.
void DrawTimelineRows(const TimelineView& view, uint32_t first, uint32_t last, uint32_t marker, Label* names,
                      const uint32_t* gapColour = nullptr);
// The cursor line the time slider drew this pass: column x, rows from .. to - 1.
void NoteCursorLine(int x, int from, int to);

class TimelineEventBlock : public Widget {
  public:
    TimelineEventBlock(uint32_t event, uint32_t track);
    void draw() override;
    bool click(int px, int py, int button) override;

    uint32_t track;
    uint32_t event;
};

class ParamGraph;

// Start and length of an event in hundredths of a second, written back to the event
// whenever an edit of either field ends with a change.
class EventTimeEditor : public Widget {
  public:
    EventTimeEditor(uint32_t track, uint32_t event, uint32_t colour);
    ~EventTimeEditor() override;
    void draw() override;
    bool click(int px, int py, int button) override;
    bool grabFocus(int px, int py) override;
    void loseFocus() override;
    bool key(int sym, int unicode) override;
    // Shows the event's times again after they were changed elsewhere (a drag).
    void Refresh();

    uint32_t track;
    uint32_t event;
    unsigned start;  // 1/100 s
    unsigned length; // 1/100 s
    bool startFocused = false;
    bool lengthFocused = false;
    UIntField* startField;
    UIntField* lengthField;
    Label* startLabel;
    Label* lengthLabel;
    // The panel's curves, kept on the same event when a re-sort moves it.
    ParamGraph* graph = nullptr;

  private:
    void WriteBackIfChanged(unsigned oldStart, unsigned oldLength);
};

// Small curves of the event's numeric parameters, one point per 100 ms.
class ParamGraph : public Widget {
  public:
    ParamGraph(uint32_t track, uint32_t event);
    void draw() override;

    uint32_t track;
    uint32_t event;
    // The panel's rows (first parameter, y) when it says where they are: curves
    // are drawn for those rows only, at their places (rows may page).
    struct Row {
        uint32_t param;
        int y;
    };
    std::vector<Row> rows;
    bool rowsGiven = false;
};

// The dotted path of the selected event's "PosX"/"PosY" over the preview while
// playback is paused, with a cross at the current position.
class PathOverlay : public Widget {
  public:
    PathOverlay();
    void draw() override;
};

// Also part of this folder's interface: the music on the timeline.
#include "music_timeline.h"
