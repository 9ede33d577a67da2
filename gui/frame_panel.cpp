// FramePanel: a container drawn as a filled bevelled frame behind its children.
#include "gui.h"

FramePanel::FramePanel(int x_, int y_, int w_, int h_, uint32_t colour_) : colour(colour_) {
    x = x_;
    y = y_;
    w = w_ < 0 ? -w_ : w_;
    h = h_ < 0 ? -h_ : h_;
}

void FramePanel::draw() {
    if (!takenOverBy) {
        drawFrame(x, y, w, h, colour);
    } else {
        taken.clear();
        takenOverBy(colour, taken);
        drawBevel(x, y, w, h, colour);
        fillRectAround(x + 3, y + 3, w - 6, h - 6, colour, taken);
    }
    WidgetGroup::draw();
}

void FramePanel::setTakenOverBy(TakeOverFunction takeOver) {
    takenOverBy = takeOver;
}

void FramePanel::setColour(uint32_t c) {
    colour = c;
}
