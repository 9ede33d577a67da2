// FramePanel: a container drawn as a filled bevelled frame behind its children.
#include "gui.h"

FramePanel::FramePanel(int x_, int y_, int w_, int h_, uint32_t colour_) : colour(colour_) {
    x = x_;
    y = y_;
    w = w_ < 0 ? -w_ : w_;
    h = h_ < 0 ? -h_ : h_;
}

void FramePanel::draw() {
    drawFrame(x, y, w, h, colour);
    WidgetGroup::draw();
}

void FramePanel::setColour(uint32_t c) {
    colour = c;
}
