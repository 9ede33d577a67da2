// A long random run of edits, undos and redos on the bundled example demo,
// through the editor's own buttons, fields, pickers, dialogs and keys: every
// undo and redo gives back exactly the demo of that step, and at the end the
// saved file equals the original after undoing everything and the edited one
// after redoing everything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>

#include <SDL/SDL.h>

#include "editor.h"
#include "recorded_widgets.h"
#include "safety_helpers.h"
#include "sdl_events.h"

namespace {

class RandomEditor {
  public:
    explicit RandomEditor(EditorFixture& f_) : f(f_), rng(20261208) {}

    // One random edit through the interface (a press, typing, a key, a dialog).
    void Edit() {
        EditorApp& app = f.app();
        EditorScreen& s = f.screen();
        const uint32_t tracks = app.TrackCount();
        const int kind = Pick(10);
        if (kind == 0 || tracks == 0) { // the track panel
            s.SelectTrack(tracks ? (int)Pick(tracks) : -1);
            static const char* const labels[] = {"Move Track Up", "Move Track Down", "Insert New Track",
                                                 "Hide/Show Track", "Delete Track"};
            const char* label = labels[Pick(tracks > 3 ? 5 : 4)];
            ClickPanelButton(s, label);
            return;
        }
        if (kind == 1) { // Demo Info
            ShowDemoInfo(0, 0, 1);
            if (Pick(2))
                TypeIntoField(PanelWidget<TextNotifyField>(s, (int)Pick(4)), "Text " + std::to_string(Pick(100)));
            else
                TypeIntoField(PanelWidget<UIntNotifyField>(s), std::to_string(8000 + Pick(10000)));
            return;
        }
        // An event of a track that has one.
        const uint32_t t = Pick(tracks);
        if (app.EventCount(t) == 0) {
            s.SelectTrack((int)t);
            AddNewEvent();
            return;
        }
        s.SelectEvent((int)t, (int)Pick(app.EventCount(t)));
        const uint32_t choice = Pick(9);
        last = std::to_string(choice) + " on " + app.EventFunctionName(t, (uint32_t)s.selectedEvent);
        switch (choice) {
        case 0:
            PushKeyDown(SDLK_DELETE, 127);
            PumpEditor();
            break;
        case 1:
            ClickPanelButton(s, "Hide/Show Event");
            break;
        case 2:
            ClickPanelButton(s, Pick(2) ? "Move Track Up" : "Move Track Down");
            break;
        case 3:
            if (!ClickPanelButton(s, "Add Continuing Effect")) ClickPanelButton(s, "Hide/Show Event");
            break;
        case 4:
        case 5: {
            const int n = PanelCount<ParamField>(s);
            if (n) {
                TypeIntoField(PanelWidget<ParamField>(s, (int)Pick((uint32_t)n)), std::to_string((int)Pick(3000) - 500));
                break;
            }
        } // no numeric parameter:
            [[fallthrough]];
        case 6: {
            const int n = PanelCount<ParamColourPicker>(s);
            if (n) {
                ColourPicker* p = PanelWidget<ParamColourPicker>(s, (int)Pick((uint32_t)n));
                PushClick(p->x + 5 + (int)Pick(256), p->y + 3 + 9 * (int)Pick(3));
                PumpEditor();
                break;
            }
        } // no colour:
            [[fallthrough]];
        case 7: {
            EventTimeEditor* times = PanelWidget<EventTimeEditor>(s);
            TypeIntoField(Pick(2) ? times->startField : times->lengthField, std::to_string(1 + Pick(160)));
            break;
        }
        default:
            ChangeEffect();
            break;
        }
    }

    uint32_t Pick(uint32_t n) { return n ? (uint32_t)(rng() % n) : 0; }
    std::string last; // what the last edit did, for messages

  private:
    // Presses a button that opens the function dialog, with a function's cell
    // (and an Escape, should the press miss) already queued for the dialog.
    void RunFunctionDialog(const char* opener) {
        EditorApp& app = f.app();
        const uint32_t lib = Pick(app.LibraryCount());
        int x, y;
        FunctionCell(lib, Pick(app.FunctionCount(lib)), x, y);
        WidgetGroup* panel = f.screen().panelGroup;
        for (int i = 0; panel && i < panel->childCount(); i++) {
            Button* b = dynamic_cast<Button*>(panel->childAt(i));
            if (!b || std::string(b->label) != opener) continue;
            PushClick(x + 5, y + 5);
            PushKeyDown(SDLK_ESCAPE, 27);
            AppActiveScreen().click(b->x + 2, b->y + 2, 1);
            DrainEvents();
            return;
        }
    }
    void AddNewEvent() { RunFunctionDialog("Add New Event"); }
    void ChangeEffect() {
        EditorApp& app = f.app();
        const EditorScreen& s = f.screen();
        RunFunctionDialog(app.EventFunctionName((uint32_t)s.selectedTrack, (uint32_t)s.selectedEvent));
    }

    EditorFixture& f;
    std::mt19937 rng;
};

} // namespace

TEST(UndoRandom, EditsUndosAndRedosOnTheExampleReplayByteForByte) {
    EditorFixture f;
    CopyExample(f.dir);
    LoadDemoCommand(0, 0, 1);
    ASSERT_STREQ(f.screen().statusText, "Demo loaded");
    CtrlKey(SDLK_s); // the file as this program writes it
    const std::string original = f.dir.Read("Fenk.xml");

    RandomEditor editor(f);
    std::vector<std::string> states = {SavedBytes(f)}; // states[k]: after k steps of the current branch
    size_t at = 0;
    int edits = 0, undos = 0, redos = 0;
    for (int action = 0; action < 600 && edits < 180; action++) {
        const uint32_t what = editor.Pick(10);
        EditorApp& app = f.app();
        if (what < 6) {
            const size_t steps = app.undo.StepCount();
            editor.Edit();
            ASSERT_EQ(TextField::Editing(), nullptr) << "action " << action << " left a field in an edit: " << editor.last;
            const std::string now = SavedBytes(f);
            if (app.undo.StepCount() == steps) {
                // Every change is a step: an action that recorded none changed nothing.
                ASSERT_EQ(now, states[at]) << "action " << action << " changed the demo unrecorded";
                continue;
            }
            ASSERT_EQ(app.undo.StepCount(), steps + 1) << action;
            ASSERT_NE(now, states[at]) << action;
            states.resize(at + 1);
            states.push_back(now);
            at++;
            edits++;
        } else if (what < 8) {
            CtrlKey(SDLK_z);
            if (at == 0) continue;
            at--;
            undos++;
            ASSERT_EQ(SavedBytes(f), states[at]) << "undo at action " << action << ": " << f.screen().statusText
                                                 << " steps " << app.undo.StepCount() << " editing "
                                                 << (TextField::Editing() ? TextField::Editing()->GetText() : "-");
        } else {
            CtrlKey(what == 8 ? SDLK_y : SDLK_z, what == 9);
            if (at + 1 >= states.size()) continue;
            at++;
            redos++;
            ASSERT_EQ(SavedBytes(f), states[at]) << "redo at action " << action << ": " << f.screen().statusText;
        }
    }
    EXPECT_GT(edits, 100);
    EXPECT_GT(undos, 50);
    EXPECT_GT(redos, 5);

    // Everything redone: the demo as the edits left it.
    while (f.app().undo.CanRedo())
        CtrlKey(SDLK_y);
    CtrlKey(SDLK_s);
    EXPECT_EQ(SavedBytes(f), states.back());
    const std::string edited = f.dir.Read("Fenk.xml");
    EXPECT_NE(edited, original);
    // Everything undone: the original, byte for byte.
    while (f.app().undo.CanUndo())
        CtrlKey(SDLK_z);
    CtrlKey(SDLK_s);
    EXPECT_EQ(f.dir.Read("Fenk.xml"), original);
    EXPECT_EQ(SavedBytes(f), states[0]);
    // And forward again.
    while (f.app().undo.CanRedo())
        CtrlKey(SDLK_y);
    CtrlKey(SDLK_s);
    EXPECT_EQ(f.dir.Read("Fenk.xml"), edited);
}
