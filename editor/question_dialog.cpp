// A modal question with up to three answers ("The demo has unsaved changes."
// Save / Discard / Cancel), in the editor's own toolkit: a frame across the
// middle of the window, the question, and a row of buttons.
#include "panels.h"

#include <atomic>

#include "app.h"
#include "gui.h"

namespace {

const uint32_t kWhite = 0xFFFFFFFF;
const uint32_t kFrameColour = 0xFF404080;
const int kButtonWidth = 70;

int gAnswer = -1;
bool gAnswered = false;
std::atomic<int> gModalDepth{0};
std::atomic<int> gAsked{0};

void Answer0(int, int, int) {
    gAnswer = 0;
    gAnswered = true;
}
void Answer1(int, int, int) {
    gAnswer = 1;
    gAnswered = true;
}
void Answer2(int, int, int) {
    gAnswer = 2;
    gAnswered = true;
}

} // namespace

QuestionLayout QuestionLayoutFor(int answers) {
    QuestionLayout l;
    l.x = windowWidth / 4;
    l.w = windowWidth / 2;
    l.h = 85;
    l.y = windowHeight / 2 - l.h / 2;
    // The answers share the frame's width from the left, the last one at the right edge.
    for (int i = 0; i < answers && i < 3; i++) {
        l.buttonX[i] = l.x + 15 + i * (kButtonWidth + 10);
        l.buttonY[i] = l.y + l.h - 35;
    }
    if (answers > 1) l.buttonX[answers - 1] = l.x + l.w - 15 - kButtonWidth;
    l.buttonW = kButtonWidth;
    l.buttonH = 20;
    return l;
}

int AskQuestion(const char* question, const std::vector<const char*>& answers) {
    static const ClickCallback callbacks[3] = {Answer0, Answer1, Answer2};
    const int n = answers.size() > 3 ? 3 : (int)answers.size();
    const QuestionLayout l = QuestionLayoutFor(n);
    GuiScreen dialog(kQuitKeyEscape);
    dialog.add(new FramePanel(l.x, l.y, l.w, l.h, kFrameColour));
    dialog.add(new Label(l.x + 15, l.y + 15, question, kWhite));
    for (int i = 0; i < n; i++)
        dialog.add(new Button(l.buttonX[i], l.buttonY[i], l.buttonW, l.buttonH, kFrameColour, answers[i], kWhite,
                              callbacks[i], nullptr));
    gAnswer = -1;
    gModalDepth++;
    gAsked++;
    RunModal(dialog, gAnswered);
    gModalDepth--;
    return gAnswered ? gAnswer : -1;
}

int ModalQuestionDepth() {
    return gModalDepth.load();
}

int QuestionsAsked() {
    return gAsked.load();
}
