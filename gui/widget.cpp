// Widget, the base of every interface element, and WidgetGroup, the container
// that owns its children, routes clicks and keys, and keeps the keyboard focus.
#include "gui.h"
#include "gui_internal.h"

#include <cstdlib>
#include <vector>

namespace {
int gDispatchDepth = 0;
std::vector<Widget*> gGraveyard;
} // namespace

DispatchGuard::DispatchGuard() {
    gDispatchDepth++;
}

DispatchGuard::~DispatchGuard() {
    if (--gDispatchDepth > 0) return;
    // Destroying a container may dispose more widgets; take them in turn.
    while (!gGraveyard.empty()) {
        Widget* w = gGraveyard.front();
        gGraveyard.erase(gGraveyard.begin());
        delete w;
    }
}

bool DispatchGuard::Active() {
    return gDispatchDepth > 0;
}

void DispatchGuard::Dispose(Widget* widget) {
    if (gDispatchDepth > 0)
        gGraveyard.push_back(widget);
    else
        delete widget;
}

Widget::Widget(int x_, int y_, int w_, int h_, ClickCallback primary_, ClickCallback secondary_)
    : x(x_), y(y_), w(abs(w_)), h(abs(h_)), primary(primary_), secondary(secondary_ ? secondary_ : primary_) {
}

Widget::~Widget() {}

void Widget::draw() {}

bool Widget::click(int px, int py, int) {
    if (px < x || px > x + w || py < y || py > y + h) return false;
    // The callback may destroy this widget: touch nothing after it.
    if (secondary)
        secondary(px, py, 1);
    else if (primary)
        primary(px, py, 1);
    return true;
}

bool Widget::grabFocus(int, int) {
    return false;
}

void Widget::loseFocus() {}

bool Widget::key(int, int) {
    return false;
}

WidgetGroup::WidgetGroup() : Widget(0, 0, 0, 0, nullptr, nullptr) {
    for (Widget*& c : children)
        c = nullptr;
}

WidgetGroup::~WidgetGroup() {
    DestroyChildren();
}

void WidgetGroup::DestroyChildren() {
    // Detach first: a child's destructor must not find itself still listed.
    while (count > 0) {
        Widget* child = children[--count];
        children[count] = nullptr;
        DispatchGuard::Dispose(child);
    }
    focus = -1;
}

void WidgetGroup::clear() {
    DestroyChildren();
    redrawRequested = true;
}

void WidgetGroup::add(Widget* child) {
    if (!child) return;
    if (count >= kMaxChildren) {
        delete child;
        return;
    }
    children[count++] = child;
    redrawRequested = true;
}

Widget* WidgetGroup::childAt(int index) const {
    if (index < 0 || index >= count) return nullptr;
    return children[index];
}

void WidgetGroup::draw() {
    for (int i = 0; i < count; i++)
        children[i]->draw();
}

bool WidgetGroup::click(int px, int py, int button) {
    for (int i = 0; i < count; i++)
        if (children[i]->click(px, py, button)) return true;
    return false;
}

bool WidgetGroup::grabFocus(int px, int py) {
    int candidate = -1;
    for (int i = 0; i < count; i++) {
        if (children[i]->grabFocus(px, py)) {
            candidate = i;
            break;
        }
    }
    if (candidate != focus) {
        // loseFocus may end an edit whose report rebuilds this very container.
        int old = focus;
        focus = candidate;
        if (old >= 0 && old < count) children[old]->loseFocus();
        if (candidate >= count) focus = -1;
    }
    return candidate >= 0;
}

void WidgetGroup::loseFocus() {
    int old = focus;
    focus = -1;
    if (old >= 0 && old < count) children[old]->loseFocus();
}

bool WidgetGroup::key(int sym, int unicode) {
    if (focus < 0 || focus >= count) return false;
    return children[focus]->key(sym, unicode);
}
