// The editor's keyboard commands for the timeline: zoom (+, -, 0 back to the
// whole demo) and copy, paste and duplicate of the selected event; and the
// mouse wheel over the timeline.
#include "editor.h"

#include <SDL/SDL.h>

#include <algorithm>

#include "app.h"
#include "event_clipboard.h"
#include "timeline_view.h"

namespace {

const double kKeyZoom = 2.0;
const double kWheelZoom = 1.5;
const int kWheelRows = 3;

// Keys zoom around the time cursor while it is on the axis, else around the middle.
void ZoomByKey(double factor) {
    EditorApp* app = App();
    if (!app || !app->demo) return;
    TimelineView& view = EditorTimelineView();
    int x = view.X(app->music.position);
    if (x < view.AxisLeft() || x > view.AxisRight()) x = (view.AxisLeft() + view.AxisRight()) / 2;
    view.ZoomAround(view.TimeAt(x), x, factor);
}

} // namespace

bool HandleTimelineKey(int sym, int unicode) {
    // The key event's own modifiers: the keyboard state may have changed since it was queued.
    const int mods = KeyEventMods();
    if (mods & KMOD_CTRL) {
        switch (sym) {
        case SDLK_c:
            return CopySelectedEvent();
        case SDLK_v:
            return PasteEvent();
        case SDLK_d:
            return DuplicateSelectedEvent();
        default:
            return false;
        }
    }
    if (mods & KMOD_ALT) return false;
    if (unicode == '+' || sym == SDLK_PLUS || sym == SDLK_KP_PLUS) {
        ZoomByKey(kKeyZoom);
        return true;
    }
    if (unicode == '-' || sym == SDLK_MINUS || sym == SDLK_KP_MINUS) {
        ZoomByKey(1.0 / kKeyZoom);
        return true;
    }
    if (unicode == '0' || sym == SDLK_0 || sym == SDLK_KP0) {
        EditorTimelineView().Reset();
        return true;
    }
    return false;
}

bool HandleTimelineWheel(int x, int y, int direction) {
    EditorApp* app = App();
    if (!app || !app->demo) return false;
    TimelineView& view = EditorTimelineView();
    const int bottom = view.Zoomed() ? view.HBarY() + TimelineView::kBarThickness : view.RowsBottom() + 3;
    if (x < view.AxisLeft() - 5 || x >= view.width || y < view.height / 2 || y >= bottom) return false;
    const SDLMod mods = SDL_GetModState();
    if (mods & KMOD_SHIFT) {
        view.ScrollPixels(-direction * std::max(1, view.AxisLength() / 8));
        return true;
    }
    const bool overRows = y >= view.RowsTop() - 2;
    const bool overBar = x >= view.VBarX();
    if (view.RowsScroll() && (overBar || (overRows && !(mods & KMOD_CTRL)))) {
        view.ScrollRows(-direction * kWheelRows);
        return true;
    }
    const int px = std::max(view.AxisLeft(), std::min(x, view.AxisRight()));
    view.ZoomAround(view.TimeAt(px), px, direction > 0 ? kWheelZoom : 1.0 / kWheelZoom);
    return true;
}
