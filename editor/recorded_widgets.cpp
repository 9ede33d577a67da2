// The event panel's in-place editors, each wrapping its change in an EditStep.
#include "recorded_widgets.h"

#include "app.h"

ParamField::ParamField(int x_, int y_, int w_, int* value_, uint32_t colour_, const char* paramName)
    : IntField(x_, y_, w_, value_, colour_), stepName(std::string("Edit ") + (paramName ? paramName : "")) {}

void ParamField::loseFocus() {
    // Only an edit in progress can change the value; a repeated loseFocus cannot.
    if (!editPending) {
        IntField::loseFocus();
        return;
    }
    EditStep step(stepName.c_str());
    IntField::loseFocus();
}

ParamColourPicker::ParamColourPicker(int x_, int y_, int* red_, int* green_, int* blue_)
    : ColourPicker(x_, y_, red_, green_, blue_) {}

bool ParamColourPicker::click(int px, int py, int button) {
    // A held button that is not the left one clicks again at every poll: those
    // clicks belong to the step its press began.
    if (!SharedMouseState().pressedSincePoll) return ColourPicker::click(px, py, button);
    EditStep step("Edit Colour");
    return ColourPicker::click(px, py, button);
}
