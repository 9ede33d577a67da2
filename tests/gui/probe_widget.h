// A widget that records what the toolkit asks of it.
#pragma once

#include <string>
#include <vector>

#include "gui.h"

struct ProbeLog {
    std::vector<std::string> calls;
    void Add(const std::string& s) { calls.push_back(s); }
};

class ProbeWidget : public Widget {
  public:
    ProbeWidget(ProbeLog* log_, const std::string& name_, int x, int y, int w, int h,
                bool takesFocus_ = false, bool takesKeys_ = false)
        : Widget(x, y, w, h, nullptr, nullptr), log(log_), name(name_), takesFocus(takesFocus_),
          takesKeys(takesKeys_) {}
    ~ProbeWidget() override {
        if (log) log->Add(name + ".destroy");
    }
    bool click(int px, int py, int button) override {
        bool hit = Widget::click(px, py, button);
        if (log) log->Add(name + ".click" + (hit ? "+" : "-") + std::to_string(button));
        return hit;
    }
    bool grabFocus(int px, int py) override {
        bool inside = takesFocus && px >= x && px <= x + w && py >= y && py <= y + h;
        if (log) log->Add(name + ".grab" + (inside ? "+" : "-"));
        return inside;
    }
    void loseFocus() override {
        if (log) log->Add(name + ".lose");
    }
    bool key(int sym, int) override {
        if (log) log->Add(name + ".key" + std::to_string(sym));
        return takesKeys;
    }

    ProbeLog* log;
    std::string name;
    bool takesFocus, takesKeys;
};
