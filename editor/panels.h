// The editor's top-right panels (track, event, demo information), the commands
// behind their buttons, and the two modal dialogs: function selection and the
// image list. Commands act only through the demo operations and check that the
// selection they use still names something before acting on it.
#pragma once

#include <cstdint>
#include <vector>

class GuiScreen;
class Widget;

// Adds a widget to the editor screen's panelGroup (destroys it when there is none).
void AddToPanel(Widget* widget);
// Panel builders: they fill the editor screen's panelGroup (cleared by the caller).
void BuildTrackPanel(int track);
void BuildEventPanel(int track, int event);
void BuildDemoInfoPanel();
// The track panel's "Name:" field for `track` (an empty name is no name).
void AddTrackNameField(int track);
// Gives the track a name as one undo step ("Rename Track"); empty removes it.
bool RenameTrack(int track, const char* name);

// One row of the event panel's parameter list.
struct ParamRow {
    enum Kind { kImage, kColour, kNumber } kind;
    uint32_t param; // first parameter of the row
    int y;
};
// The rows the event panel shows for an event, in order.
std::vector<ParamRow> EventParamRows(uint32_t track, uint32_t event);

// State shared by the dialogs (chosen library and function: -1 = none).
struct DialogState {
    int32_t chosenLibrary = -1;
    int32_t chosenFunction = -1;
    bool functionDialogDone = false;
    bool imageDialogDone = false;
    int32_t imageParam = -1; // the "ImageNr" parameter a pick writes
};
DialogState& Dialogs();

// Runs the function selection dialog; true when a function was picked.
bool ChooseFunction(const char* title);
// Runs the image list dialog for parameter `param` of the selected event.
void ChooseImageFor(uint32_t param);
// Draws and pumps `dialog` until `done` is set or its pump reports quit.
void RunModal(GuiScreen& dialog, bool& done);

// A modal question with up to three answers, as buttons in a frame across the
// middle of the window: the index of the answer pressed, or -1 for Escape or a
// request to close the window.
int AskQuestion(const char* question, const std::vector<const char*>& answers);
// Where AskQuestion puts its frame and buttons for `answers` answers.
struct QuestionLayout {
    int x, y, w, h;
    int buttonX[3], buttonY[3];
    int buttonW, buttonH;
};
QuestionLayout QuestionLayoutFor(int answers);
// How many questions are open now (read from any thread: tests answer them).
int ModalQuestionDepth();
// How many questions were asked since the program started.
int QuestionsAsked();

// Cell positions of the dialogs' buttons, for a window of windowWidth x windowHeight.
int FunctionColumns();
void FunctionCell(uint32_t lib, uint32_t fn, int& x, int& y);
int ImageColumns();
void ImageCell(uint32_t image, int& x, int& y);

// Click callbacks.
void MoveTrackUp(int x, int y, int button);
void MoveTrackDown(int x, int y, int button);
void InsertNewTrack(int x, int y, int button);
void DeleteTrackCommand(int x, int y, int button);
void HideShowTrack(int x, int y, int button);
void AddNewEvent(int x, int y, int button);
void PrevEvent(int x, int y, int button);
void NextEvent(int x, int y, int button);
void HideShowEvent(int x, int y, int button);
void DeleteEventCommand(int x, int y, int button);
void AddContinuingEffect(int x, int y, int button);
void MoveEventUp(int x, int y, int button);
void MoveEventDown(int x, int y, int button);
void ChangeEffectCommand(int x, int y, int button);
// The pager of the event panel's parameter rows, when not all of them fit.
void ParamRowsUp(int x, int y, int button);
void ParamRowsDown(int x, int y, int button);
// "Change" of an "ImageNr" row: the row under the press names the parameter.
void ChooseImage(int x, int y, int button);
void FunctionPicked(int x, int y, int button);
void FunctionDialogCancel(int x, int y, int button);
void ImagePicked(int x, int y, int button);
void ImageDialogCancel(int x, int y, int button);
