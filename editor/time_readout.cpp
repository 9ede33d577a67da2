// FormatTimeReadout and the readout label that shows it.
#include "time_readout.h"

#include <cstdio>
#include <cstring>

#include "app.h"
#include "beat_grid.h"
#include "timeline.h"

std::string FormatTimeReadout(uint32_t ms) {
    char text[32];
    snprintf(text, sizeof text, "%u:%02u.%02u", ms / 60000, ms / 1000 % 60, ms / 10 % 100);
    return text;
}

TimeReadout::TimeReadout(int x_, int y_, uint32_t colour_) : Label(x_, y_, buffer, false, colour_) {
    buffer[0] = 0;
}

void TimeReadout::draw() {
    EditorApp* app = App();
    const uint32_t position = app ? app->music.position : 0;
    std::string text = FormatTimeReadout(position);
    BeatGrid grid;
    if (DemoBeatGrid(grid)) text += "  " + FormatBarBeat(grid, position); // with a tempo: bar.beat
    snprintf(buffer, sizeof buffer, "%s", text.c_str());
    Label::draw();
}
