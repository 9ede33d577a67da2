// FormatTimeReadout and the readout label that shows it.
#include "time_readout.h"

#include <cstdio>
#include <cstring>

#include "app.h"

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
    const std::string text = FormatTimeReadout(app ? app->music.position : 0);
    snprintf(buffer, sizeof buffer, "%s", text.c_str());
    Label::draw();
}
