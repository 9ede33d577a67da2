// The event panel's layout: fixed buttons, the parameter rows that fit between
// them, and the pager line when some rows do not.
#include "event_panel_layout.h"

#include <algorithm>

#include "app.h"
#include "gui.h"

namespace {

const int kFirstRowY = 55;
const int kPagerHeight = 16;

int RowPitch(const ParamRow& row) {
    return row.kind == ParamRow::kColour ? 51 : 17;
}

PanelRect PagerLine(int y) {
    const int C = windowWidth / 2;
    return {C + 20, y, 190, kPagerHeight};
}

} // namespace

std::vector<PanelRect> RowExtent(const ParamRow& row, int pickerBar) {
    const int C = windowWidth / 2, W = windowWidth, y = row.y;
    switch (row.kind) {
    case ParamRow::kImage:
        return {{C + 20, y, W - 78 - C, 14}, {W - 58, y - 5, 53, 20}};
    case ParamRow::kColour:
        return {{C + 20, y + 7, 75, 14}, {C + 95, y - 1, pickerBar + 38, 27}, {C + 95, y + 26, pickerBar + 38, 27}};
    default:
        // Name, start field, curve, end field (frames are 2 pixels wider than the field).
        return {{C + 20, y, 95, 14}, {C + 115, y, 62, 16}, {C + 180, y, 43, 17}, {C + 225, y, 62, 16}};
    }
}

EventPanelLayout LayoutEventPanel(uint32_t track, uint32_t event, int firstRow) {
    const int W = windowWidth, H = windowHeight, C = W / 2, X0 = C + 10;
    EventPanelLayout l;
    std::vector<PanelRect> fixed;
    if (C + 210 + 120 <= W - 105) {
        // Room for the bottom row as laid out, and the move buttons on the right.
        l.prev = {X0, H / 2 - 30, 70, 20};
        l.next = {C + 90, H / 2 - 30, 70, 20};
        l.hideShow = {C + 210, H / 2 - 30, 120, 20};
        l.deleteEvent = {W - 105, H / 2 - 30, 95, 20};
        l.moveUp = {W - 115, H / 2 - 140, 110, 20};
        l.moveDown = {W - 115, H / 2 - 110, 110, 20};
    } else {
        // Three short rows at the bottom keep every button pressable and the
        // panel's whole width free for the parameter rows above them.
        l.prev = {X0, H / 2 - 30, 70, 20};
        l.next = {X0 + 75, H / 2 - 30, 70, 20};
        l.hideShow = {X0 + 150, H / 2 - 30, 120, 20};
        l.moveUp = {X0, H / 2 - 55, 110, 20};
        l.moveDown = {X0 + 115, H / 2 - 55, 110, 20};
        l.deleteEvent = {W - 105, H / 2 - 80, 95, 20};
    }
    fixed = {l.prev, l.next, l.hideShow, l.deleteEvent, l.moveUp, l.moveDown};
    // The bars get shorter when the picker would run past the window's edge.
    const int room = (W - 5) - (C + 95) - 38;
    l.pickerBar = room < 256 ? (room < 16 ? 16 : room) : 256;

    EditorApp* app = App();
    std::vector<ParamRow> all = app ? EventParamRows(track, event) : std::vector<ParamRow>();
    l.totalRows = (int)all.size();
    const int bottom = H / 2 - 3; // the panel's inner edge
    auto fits = [&](const std::vector<PanelRect>& parts) {
        for (const PanelRect& p : parts) {
            if (p.y + p.h > bottom || p.x + p.w > W - 3) return false;
            for (const PanelRect& f : fixed)
                if (p.Overlaps(f)) return false;
        }
        return true;
    };
    // Rows from `first` at their places while each (and, when paging, the pager
    // line after it) fits.
    auto place = [&](int first, bool pager, std::vector<ParamRow>& out, int& nextY) {
        out.clear();
        int y = kFirstRowY, below = kFirstRowY; // next row's place; below what is placed
        for (int i = first; i < (int)all.size(); i++) {
            ParamRow row = all[(size_t)i];
            // A colour row's picker starts a pixel above it: clear of the curve above.
            row.y = y + (row.kind == ParamRow::kColour && !out.empty() ? 1 : 0);
            std::vector<PanelRect> parts = RowExtent(row, l.pickerBar);
            int bottom = below;
            for (const PanelRect& p : parts)
                if (p.y + p.h > bottom) bottom = p.y + p.h;
            const int pagerY = std::max(row.y + RowPitch(row), bottom + 1);
            if (pager) parts.push_back(PagerLine(pagerY));
            if (!fits(parts)) break;
            out.push_back(row);
            y = row.y + RowPitch(row);
            below = bottom;
            nextY = pagerY;
        }
        if (out.empty()) nextY = kFirstRowY;
    };

    int nextY = kFirstRowY;
    place(0, false, l.rows, nextY);
    if ((int)l.rows.size() == l.totalRows) return l;

    l.paged = true;
    if (firstRow >= l.totalRows) firstRow = l.totalRows - 1;
    l.firstRow = firstRow < 0 ? 0 : firstRow;
    place(l.firstRow, true, l.rows, nextY);
    l.pagerY = nextY;
    const PanelRect line = PagerLine(nextY);
    l.pagerUp = {line.x + 105, nextY, 36, kPagerHeight};
    l.pagerDown = {line.x + 145, nextY, 44, kPagerHeight};
    return l;
}
