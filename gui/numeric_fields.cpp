// The fields that report or bind their result: TextNotifyField (text to a
// callback), IntField and UIntField (bound integers), UIntNotifyField (an
// unsigned number to a callback).
#include "gui.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include <SDL/SDL.h>

namespace {
bool IsEditingKey(int sym) {
    return sym == SDLK_BACKSPACE || sym == SDLK_RETURN || sym == SDLK_ESCAPE || sym == SDLK_DELETE ||
           sym == SDLK_RIGHT || sym == SDLK_LEFT || sym == SDLK_INSERT;
}

// Parses the text the way "%ld" does; false when there is no number or it does
// not fit in [lo, hi] (then the bound variable keeps its value).
bool ParseLong(const char* text, long lo, long hi, long* out) {
    long v = 0;
    if (sscanf(text, "%ld", &v) != 1) return false;
    errno = 0;
    strtol(text, nullptr, 10); // sscanf's overflow is undefined; strtol reports it
    if (errno == ERANGE || v < lo || v > hi) return false;
    *out = v;
    return true;
}

bool ParseUnsigned(const char* text, unsigned long* out) {
    long v = 0;
    if (!ParseLong(text, 0, (long)UINT_MAX, &v)) return false;
    *out = (unsigned long)v;
    return true;
}
} // namespace

TextNotifyField::TextNotifyField(int x_, int y_, int w_, const char* text_, TextNotifyCallback callback_,
                                 uint32_t colour_)
    : TextField(x_, y_, w_, text_, colour_), callback(callback_) {}

void TextNotifyField::textChanged() {
    if (callback) callback(text.c_str());
}

IntField::IntField(int x_, int y_, int w_, int* value_, uint32_t colour_)
    : TextField(x_, y_, w_, "", colour_), value(value_) {
    ShowValue();
}

void IntField::ShowValue() {
    char number[16] = "";
    if (value) snprintf(number, sizeof number, "%d", *value);
    setText(number);
}

void IntField::loseFocus() {
    TextField::loseFocus();
    long v = 0;
    if (ParseLong(text.c_str(), INT_MIN, INT_MAX, &v)) {
        if (value) *value = (int)v;
    } else {
        ShowValue();
    }
}

bool IntField::key(int sym, int unicode) {
    // After the edit has ended (Return) the field keeps the focus but no longer
    // takes keys: F10 and the editor's keys reach the screen again.
    if (!editing) return false;
    bool passes =
        (unicode >= '0' && unicode <= '9') || IsEditingKey(sym) || sym == SDLK_MINUS || unicode == '-';
    if (!passes) return true;
    TextField::key(sym, unicode);
    if (sym == SDLK_RETURN) {
        long v = 0;
        if (ParseLong(text.c_str(), INT_MIN, INT_MAX, &v)) {
            if (value) *value = (int)v;
        } else {
            ShowValue();
        }
    }
    return true;
}

UIntField::UIntField(int x_, int y_, int w_, unsigned* value_, uint32_t colour_)
    : TextField(x_, y_, w_, "", colour_), value(value_) {
    ShowValue();
}

void UIntField::ShowValue() {
    char number[16] = "";
    if (value) snprintf(number, sizeof number, "%u", *value);
    setText(number);
}

void UIntField::loseFocus() {
    TextField::loseFocus();
    unsigned long v = 0;
    if (ParseUnsigned(text.c_str(), &v)) {
        if (value) *value = (unsigned)v;
    } else {
        ShowValue();
    }
}

bool UIntField::key(int sym, int unicode) {
    if (!editing) return false;
    bool passes = (unicode >= '0' && unicode <= '9') || IsEditingKey(sym);
    if (!passes) return true;
    TextField::key(sym, unicode);
    if (sym == SDLK_RETURN) {
        unsigned long v = 0;
        if (ParseUnsigned(text.c_str(), &v)) {
            if (value) *value = (unsigned)v;
        } else {
            ShowValue();
        }
    }
    return true;
}

UIntNotifyField::UIntNotifyField(int x_, int y_, int w_, unsigned initialValue, IntNotifyCallback callback_,
                                 uint32_t colour_)
    : UIntField(x_, y_, w_, nullptr, colour_), callback(callback_), ownValue(initialValue) {
    value = &ownValue;
    // Formatting through setText reports the initial value once.
    ShowValue();
}

void UIntNotifyField::textChanged() {
    unsigned long v = 0;
    if (!ParseUnsigned(text.c_str(), &v)) {
        // Nothing is reported: the field shows the value it had, which stays.
        char number[16];
        snprintf(number, sizeof number, "%u", ownValue);
        text = TextBuffer(number);
        return;
    }
    // The whole unsigned range travels through the int callback as its 32-bit
    // pattern, so a running time above 2^31 ms is not changed by showing it.
    ownValue = (unsigned)v;
    if (callback) callback((int32_t)(uint32_t)v);
}
