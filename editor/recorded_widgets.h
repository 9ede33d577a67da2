// Widgets of the event panel that edit the selected event in place: each change
// they make is one undoable step, named after what was changed.
#pragma once

#include <string>

#include "gui.h"

// A parameter's start or end value: a committed change is one step.
class ParamField : public IntField {
  public:
    ParamField(int x, int y, int w, int* value, uint32_t colour, const char* paramName);
    void loseFocus() override;

    std::string stepName;
};

// A colour row's picker: one step per press, however often a held button repeats it.
class ParamColourPicker : public ColourPicker {
  public:
    ParamColourPicker(int x, int y, int* red, int* green, int* blue);
    bool click(int px, int py, int button) override;
};
