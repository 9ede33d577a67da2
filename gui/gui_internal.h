// Toolkit internals shared between its files: the guard that defers destroying
// widgets while an event is being dispatched to them.
#pragma once

class Widget;

// While an event pump dispatches, a callback may clear the very container whose
// child is running (a button that rebuilds its screen). Widgets removed then are
// kept until the outermost dispatch has returned.
class DispatchGuard {
  public:
    DispatchGuard();
    ~DispatchGuard();
    static bool Active();
    // Destroys `widget` now, or when the outermost dispatch ends.
    static void Dispose(Widget* widget);
};
