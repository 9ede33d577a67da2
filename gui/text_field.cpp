// TextField: a one-line edit field. An edit starts at the first press inside,
// ends by Return or a press elsewhere (reported through textChanged) or by
// Escape (the text as it was comes back, nothing is reported).
#include "gui.h"

#include <SDL/SDL.h>

#include "font.h"

TextField::TextField(int x_, int y_, int w_, const char* text_, uint32_t colour_)
    : TextWidget(x_, y_, w_, 0, colour_, nullptr, nullptr), text(text_), saved(32u) {
    h = font->pixelSize();
}

namespace {
TextField* gEditing = nullptr;
}

TextField::~TextField() {
    if (gEditing == this) gEditing = nullptr;
}

TextField* TextField::Editing() {
    return gEditing;
}

void TextField::textChanged() {}

void TextField::setText(const char* t) {
    text = TextBuffer(t);
    editPending = false;
    caret = 0;
    scroll = 0;
    editing = false;
    if (gEditing == this) gEditing = nullptr;
    textChanged();
}

int TextField::VisibleCapacity() {
    return font->visibleCapacity(w - 4, text.c_str(), scroll, -1);
}

void TextField::ScrollToCaret() {
    // scroll < caret also ends the walk when nothing fits in the field at all.
    while (scroll < caret && (int)(caret - scroll) >= VisibleCapacity())
        scroll++;
}

bool TextField::grabFocus(int px, int py) {
    if (!(x < px && px < x + w && y < py && py < y + h)) return false;
    if (!editing) {
        editing = true;
        gEditing = this;
        caret = text.length;
        int capacity = VisibleCapacity();
        if (capacity < 0) capacity = 0;
        if (caret >= (unsigned)capacity) scroll = caret - capacity + 1;
        if (scroll > caret) scroll = caret;
        overwriteMode = false;
        saved = text;
        editPending = true;
    } else {
        int fit = font->charsThatFit(px - x + 1, text.c_str(), scroll, -1);
        caret = scroll + (fit > 0 ? (unsigned)fit : 0u);
        if (caret > text.length) caret = text.length;
    }
    return true;
}

void TextField::loseFocus() {
    if (editPending) {
        editPending = false;
        textChanged();
    }
    editing = false;
    if (gEditing == this) gEditing = nullptr;
    scroll = 0;
    caret = 0;
}

bool TextField::key(int sym, int unicode) {
    if (!editing) return false;
    switch (sym) {
    case SDLK_BACKSPACE:
        if (caret > 0) {
            caret--;
            text.erase(caret, 1);
        }
        while (scroll > 0 && caret <= scroll)
            scroll--;
        return true;
    case SDLK_TAB:
    case SDLK_UP:
    case SDLK_DOWN:
    case SDLK_RSHIFT:
    case SDLK_LSHIFT:
    case SDLK_RCTRL:
    case SDLK_LCTRL:
    case SDLK_RALT:
    case SDLK_LALT:
        return false;
    case SDLK_RETURN:
        loseFocus();
        return true;
    case SDLK_ESCAPE:
        if (editPending) {
            text = saved;
            editPending = false;
        }
        loseFocus();
        return true;
    case SDLK_DELETE:
        if (caret < text.length) text.erase(caret, 1);
        return true;
    case SDLK_RIGHT:
        if (caret < text.length) caret++;
        ScrollToCaret();
        return true;
    case SDLK_LEFT:
        if (caret > 0) caret--;
        while (scroll > 0 && caret <= scroll)
            scroll--;
        return true;
    case SDLK_INSERT:
        overwriteMode = !overwriteMode;
        return true;
    default:
        break;
    }
    // Control characters (Ctrl+A gives 1) are keys, not text: a demo file cannot hold them.
    if (unicode < 32 || unicode == 127 || unicode > 255) return false;
    if (overwriteMode)
        text.overwrite(caret, (char)unicode);
    else
        text.insert(caret, (char)unicode);
    caret++;
    ScrollToCaret();
    return true;
}

void TextField::draw() {
    int ps = font->pixelSize();
    const char* all = text.c_str();
    if (text.length > 0) {
        int n = font->charsThatFit(w - 4, all, scroll, -1);
        if (n > 0 && (int)font->textWidth(all, scroll, n) > w - 4) n--;
        if (n > 0) {
            TextBuffer visible = text.substring(scroll, (unsigned)n);
            font->drawText(x + 2, y + h / 2 - ps / 2 + 2, visible.c_str(), colour, true, 0.0f);
        }
        if ((int64_t)text.length - scroll > VisibleCapacity()) drawHLine(x + w - 2, y + h / 2, 6, colour);
    }
    if (!editing) {
        drawRect(x, y, w + 2, h + 2, (colour >> 1) & 0x808080);
        return;
    }
    drawRect(x, y, w + 2, h + 2, colour);
    int caretX = x + 2 + (int)font->textWidth(text.c_str(), scroll, (int)(caret - scroll));
    font->drawText(caretX, overwriteMode ? y - h / 2 + 2 : y + 2, "_", colour, true, 0.0f);
    if (scroll > 0) drawHLine(x - 2, y + h / 2, 4, colour);
}
