// The modal dialogs: function selection (add an event, change an effect) and the
// image list (pick an "ImageNr" value). Each runs its own draw-and-pump loop
// while the main loop waits; Escape, Cancel or closing the window leave it.
#include <GL/glew.h>
#include <SDL/SDL.h>

#include "app.h"
#include "idle_wait.h"
#include "panels.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kRed = 0xFFFF5050;
const uint32_t kLightGreen = 0xFFB0FFB0;
const uint32_t kFrameColour = 0xFF404080;

DialogState gDialogs;

// Row of library l's first function button (rows counted from the title).
int FirstRow(uint32_t lib) {
    EditorApp* app = App();
    const int n = FunctionColumns();
    int row = 1;
    for (uint32_t k = 0; k < lib; k++)
        row += (int)(app->FunctionCount(k) / (uint32_t)n) + 1;
    return row;
}

} // namespace

DialogState& Dialogs() {
    return gDialogs;
}

int FunctionColumns() {
    const int n = (windowWidth / 2 - 5) / 125;
    return n > 0 ? n : 1; // a window too narrow for one column still gets one
}

void FunctionCell(uint32_t lib, uint32_t fn, int& x, int& y) {
    const int n = FunctionColumns();
    x = (int)(fn % (uint32_t)n) * 125 + windowWidth / 4 + 5;
    y = (FirstRow(lib) + (int)(fn / (uint32_t)n)) * 25 + windowHeight / 4 + 30;
}

int ImageColumns() {
    const int n = (14 * windowWidth / 16 - 5) / 165;
    return n > 0 ? n : 1;
}

void ImageCell(uint32_t image, int& x, int& y) {
    const int n = ImageColumns();
    x = (int)(image % (uint32_t)n) * 165 + windowWidth / 16 + 5;
    y = (int)(image / (uint32_t)n) * 25 + windowHeight / 10 + 30;
}

void RunModal(GuiScreen& dialog, bool& done) {
    done = false;
    // The press that opened the dialog has had its click: the dialog's pump must
    // not deliver it again at the same spot, where one of its own buttons may be.
    MouseState& mouse = SharedMouseState();
    mouse.pressedSincePoll = false;
    mouse.held = false;
    if (dialog.pollEvents()) return;
    while (!done) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawInterface(&dialog);
        SDL_GL_SwapBuffers();
        // Nothing in a dialog moves by itself: sleep until there is input.
        if (!(mouse.held && mouse.button != SDL_BUTTON_LEFT)) WaitForEditorWork();
        if (dialog.pollEvents()) break;
    }
}

// [SECTION] Function selection

bool ChooseFunction(const char* title) {
    gDialogs.chosenLibrary = gDialogs.chosenFunction = -1;
    EditorApp* app = App();
    if (!app) return false;
    const int W = windowWidth, H = windowHeight;
    GuiScreen dialog(kQuitKeyEscape);
    dialog.add(new FramePanel(W / 4, H / 4, W / 2, H / 2, kFrameColour));
    dialog.add(new Label(W / 2 - 25, H / 4 + 10, title, kWhite));
    for (uint32_t l = 0; l < app->LibraryCount(); l++) {
        int x, y;
        FunctionCell(l, 0, x, y);
        dialog.add(new Label(x, y - 20, app->LibraryName(l), kWhite));
        for (uint32_t f = 0; f < app->FunctionCount(l); f++) {
            FunctionCell(l, f, x, y);
            dialog.add(new Button(x, y, 120, 20, kFrameColour, app->FunctionName(l, f), kWhite,
                                  FunctionPicked, nullptr));
        }
    }
    dialog.add(new Button(3 * W / 4 - 60, 3 * H / 4 - 25, 55, 20, kFrameColour, "Cancel", kLightGreen,
                          FunctionDialogCancel, nullptr));
    RunModal(dialog, gDialogs.functionDialogDone);
    return gDialogs.chosenLibrary >= 0 && gDialogs.chosenFunction >= 0;
}

void FunctionPicked(int px, int py, int) {
    EditorApp* app = App();
    if (!app) return;
    for (uint32_t l = 0; l < app->LibraryCount(); l++) {
        for (uint32_t f = 0; f < app->FunctionCount(l); f++) {
            int x, y;
            FunctionCell(l, f, x, y);
            if (x <= px && px < x + 120 && y <= py && py < y + 20) {
                gDialogs.chosenLibrary = (int32_t)l;
                gDialogs.chosenFunction = (int32_t)f;
                gDialogs.functionDialogDone = true;
                return;
            }
        }
    }
}

void FunctionDialogCancel(int, int, int) {
    gDialogs.chosenLibrary = gDialogs.chosenFunction = -1;
    gDialogs.functionDialogDone = true;
}

// [SECTION] Image list

void ChooseImageFor(uint32_t param) {
    EditorApp* app = App();
    if (!app) return;
    gDialogs.imageParam = (int32_t)param;
    const int W = windowWidth, H = windowHeight;
    GuiScreen dialog(kQuitKeyEscape);
    dialog.add(new FramePanel(W / 16, H / 10, 14 * W / 16, 8 * H / 10, kFrameColour));
    dialog.add(new Label(W / 2 - 25, H / 10 + 10, "Image List:", kWhite));
    for (uint32_t i = 0; i < app->ImageCount(); i++) {
        int x, y;
        ImageCell(i, x, y);
        const uint32_t kind = app->ImageKind(i);
        const uint32_t colour = kind < 2 ? kRed : (kind == 2 ? kWhite : kLightGreen);
        dialog.add(new Button(x, y, 160, 20, kFrameColour, app->ImagePath(i), colour, ImagePicked, nullptr));
    }
    dialog.add(new Button(15 * W / 16 - 60, 9 * H / 10 - 25, 55, 20, kFrameColour, "Cancel", kLightGreen,
                          ImageDialogCancel, nullptr));
    RunModal(dialog, gDialogs.imageDialogDone);
    gDialogs.imageParam = -1;
}

void ImagePicked(int px, int py, int) {
    EditorApp* app = App();
    if (!app) return;
    for (uint32_t i = 0; i < app->ImageCount(); i++) {
        int x, y;
        ImageCell(i, x, y);
        if (!(x <= px && px < x + 160 && y <= py && py < y + 20)) continue;
        EditorScreen& screen = app->editorScreen;
        const int t = screen.selectedTrack, e = screen.selectedEvent;
        DemoEvent* event = t >= 0 && e >= 0 ? app->GetEvent((uint32_t)t, (uint32_t)e) : nullptr;
        const int32_t p = gDialogs.imageParam;
        // Only an existing parameter of a still existing event is written.
        if (event && p >= 0 && (uint32_t)p < event->paramCount && event->startValues && event->endValues) {
            {
                EditStep step("Pick Image");
                event->startValues[p] = event->endValues[p] = (int32_t)i;
            }
            screen.SelectEvent(t, e);
        }
        gDialogs.imageDialogDone = true;
        return;
    }
}

void ImageDialogCancel(int, int, int) {
    gDialogs.imageDialogDone = true;
}
