// Where the event panel puts its buttons and which parameter rows it shows. The
// buttons keep fixed places; the rows flow from the top of the panel and stop
// before any button they would cover, and when not all of them fit, a line
// under them pages through the rest ("Up" / "Down"). In a window narrower than
// the bottom row of buttons needs, the buttons take three short rows at the
// bottom instead of the right-hand column, and the colour bars get shorter.
#pragma once

#include <cstdint>
#include <vector>

#include "panels.h"

struct PanelRect {
    int x, y, w, h;
    bool Overlaps(const PanelRect& o) const {
        return x < o.x + o.w && o.x < x + w && y < o.y + o.h && o.y < y + h;
    }
};

struct EventPanelLayout {
    PanelRect prev, next, hideShow, deleteEvent, moveUp, moveDown;
    int pickerBar = 256;             // pixels per colour bar
    std::vector<ParamRow> rows;      // the rows shown, with their places
    int firstRow = 0, totalRows = 0; // rows shown start at this index of all rows
    bool paged = false;              // not every row fits: the pager line shows
    int pagerY = 0;
    PanelRect pagerUp, pagerDown;
};

// Lays out the panel of an event for the window (windowWidth x windowHeight),
// showing rows from `firstRow` on (clamped to the rows there are).
EventPanelLayout LayoutEventPanel(uint32_t track, uint32_t event, int firstRow);
// The rectangles a parameter row covers at its place (fields, pickers, buttons).
std::vector<PanelRect> RowExtent(const ParamRow& row, int pickerBar);
