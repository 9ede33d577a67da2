// The editor application: the one EditorApp that holds the running program's
// state (demo, music, the two root screens, volume, the image list), the
// MusicPlayer over SDL_mixer, and the start-up, per-frame and shutdown steps of
// the main loop.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <SDL/SDL_mixer.h>

#include "demo.h"
#include "demo_operations.h"
#include "editor.h"
#include "gui.h"
#include "music.h"
#include "sdl_config.h"
#include "undo_history.h"

struct SDL_Surface;
class OGLState;

// The demo's music: decoded in the background (music/), played through
// SDL_mixer's music hook. While it sounds, the playback clock is the audio
// position; without an open audio device, without music, or with a file that
// cannot be read, the player stays silent and the clock runs on the tick counter.
class MusicPlayer {
  public:
    MusicPlayer();
    ~MusicPlayer();
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    // Drops any loaded music, then starts decoding `path` in the background.
    void Load(const char* path);
    // Halts and drops any loaded music.
    void Unload();
    // start false: halt. start true: play from positionMs, sample-exact, at the
    // application's volume (as soon as the decode has finished, if it has not).
    void Play(bool start, uint32_t positionMs);
    void ApplyVolume();

    // Picks up a finished decode; call once per frame. Returns the status line's
    // message once when the file could not be read, else null.
    const char* Update();
    // The audio position in ms while the music sounds; false otherwise.
    bool AudioPosition(uint32_t& ms);
    // Decoded music is ready to sound (an audio device is open and the file read).
    bool HasMusic() const { return output.Attached(); }
    // The hook is handing out music (or the silence after its end).
    bool Sounding() const { return output.Running(); }
    // The file being decoded or decoded; null without music.
    const MusicLoad* Music() const { return load.get(); }
    // The waveform's peak table, once built; null until then ("analysing music...").
    std::shared_ptr<const PeakTable> Peaks() const;
    // Tempo detection of the decoded music on its own thread (it wakes the main
    // loop when done); null while there is no decoded music.
    std::unique_ptr<TempoDetection> StartTempoDetection() const;

    bool playing;
    uint32_t position; // ms on the demo's timeline

  private:
    std::unique_ptr<MusicLoad> load;
    MusicOutput output;
    PlaybackClock clock;
    bool wantSound = false; // Play(true) came before the decode finished
    bool reported = false;  // the failure message went out
    std::string message;
};

struct DemoDeleter {
    void operator()(DemoStruct* demo) const;
};
typedef std::unique_ptr<DemoStruct, DemoDeleter> OwnedDemo;

// Reads the demo file and runs every binding stage; throws BasicException with
// the failing stage's message. The editor's load command and the player share it.
OwnedDemo LoadBoundDemo(const char* fileName, SDL_Config* videoConfig, SDL_Surface* screen);

class EditorApp : public DemoOperations {
  public:
    static const uint32_t kMaxImages = 128;
    static const uint32_t kImagePathSize = 128; // bytes per path slot, NUL included

    EditorApp(SDL_Surface* screen, SDL_Config* videoConfig);
    ~EditorApp();
    EditorApp(const EditorApp&) = delete;
    EditorApp& operator=(const EditorApp&) = delete;

    // Loading and saving the demo named by the editor screen's file name field.
    // LoadDemo throws BasicException with the failing stage's message.
    bool LoadDemo();
    bool SaveDemo();
    // Saves to `path` (keeping the old file as NAME.bak), which becomes the
    // demo's file; on success the demo has no unsaved changes and no autosave.
    bool SaveDemoAs(const char* path);

    // Autosave: while there are unsaved changes the demo is written every
    // autosaveIntervalMs to NAME.autosave beside its file (60 s; the variable
    // TRELLIC_AUTOSAVE_MS sets another interval). Call once per frame.
    void AutosaveIfDue(uint32_t nowMs);
    std::string AutosavePath() const;
    void RemoveAutosave();
    // After a load: when the demo's autosave is newer than its file, offers
    // "Recover unsaved changes from HH:MM?"; Recover makes its content the
    // demo's, as an unsaved (and undoable) change. True when recovered.
    bool OfferRecovery();
    uint32_t autosaveIntervalMs = 60000;
    uint32_t autosaveDueAt = 0;          // ms; 0 = no write pending
    uint64_t autosavedRevision = ~(uint64_t)0; // the revision the autosave holds
    // Reloads the demo's effect libraries and their lists from disk (F5), keeping
    // the demo with its unsaved edits, the selection and the time, and says on
    // the status line what happened. On failure the preview stays off until a
    // reload succeeds.
    bool ReloadLibraries();

    // Volume and the settings file.
    uint32_t GetVolume() const { return volume; }
    void SetVolume(uint32_t v);
    void ReadSettings(const char* path);
    void WriteSettings(const char* path);

    // The host's copy of the image list.
    void ReadImageList(const char* path);
    uint32_t ImageCount() const { return imageCount; }
    const char* ImagePath(uint32_t i) const;
    uint32_t ImageKind(uint32_t i) const;
    uint32_t ImageMemoryEstimate(); // bytes

    // The current demo (`demo`, owned) and the editor's queries and edits of it
    // come from DemoOperations, which frees the demo after the members below.

    // Undo: call RecordEdit before every change of the demo ("Delete Event");
    // DropEditIfUnchanged after an edit that may have changed nothing.
    void RecordEdit(const char* name);
    void DropEditIfUnchanged();
    // Step back or forward, rebuild what shows the demo, select what the step
    // changed and say so on the status line ("Undo: Delete Event").
    bool UndoEdit();
    bool RedoEdit();
    UndoHistory undo;
    // The demo file as last loaded or saved (for the caption and the autosave).
    std::string demoFileName;

    // Fields, in this order: members are destroyed from the last up, so the
    // screens go first, then the music, and the demo (in the base) last.
    MusicPlayer music;
    EditorScreen editorScreen;
    GuiScreen previewScreen;
    bool demoLoaded;
    bool fullScreenPreview;
    bool effectsUnbound = false; // a reload failed: the demo's effects are unloaded, the preview is off
    uint32_t volume; // 0..128, or as read from the settings file
    uint32_t imageCount;
    char imagePaths[kMaxImages][kImagePathSize];
    uint32_t imageKinds[kMaxImages]; // 0 missing, 1 missing+complex, 2 present, 3 present+complex
    uint32_t imageMemory;            // bytes; 0 = not computed yet
    SDL_Surface* screen;
    SDL_Config* videoConfig;
};

// One undoable step around an edit: recorded when made, forgotten again when the
// edit left the demo as it was (a refused move, a field committed unchanged).
class EditStep {
  public:
    explicit EditStep(const char* name);
    ~EditStep();
    EditStep(const EditStep&) = delete;
    EditStep& operator=(const EditStep&) = delete;
};

// Process-wide access to the one application object.
void SetApp(EditorApp* app); // destroys the previous one
EditorApp* App();
MusicPlayer& AppMusic();
EditorScreen& AppEditorScreen();
GuiScreen& AppActiveScreen();
void SetFullScreenPreview(bool flag);
bool IsFullScreenPreview();
// Click callbacks switching between the editor and the full-screen preview.
void ShowEditor(int x, int y, int button);
void ShowFullScreenPreview(int x, int y, int button);

// ---------------------------------------------------------------------------
// Start-up, main loop and shutdown, one function per step so tests can drive them.

struct MainLoop {
    SDL_Config videoConfig;
    SDL_Surface* screen = nullptr;
    OGLState* glState = nullptr;
    bool audioOpen = false;
    uint32_t lastTicks = 0; // ms, when the previous frame was drawn
    uint32_t now = 0;       // ms, this frame
    uint32_t lastPosition = 0;
};

// Defaults and "VorlenEdit.ini": 0, or the exit code 1 when the file is bad.
int ReadVideoConfig(SDL_Config& config);
// Window with an OpenGL context, GLEW, and the audio device when there is one:
// 0, or the exit code 1.
int OpenVideo(SDL_Config& config, SDL_Surface*& screen, bool& audioOpen);
// Configuration, window, GLEW, GL state, application, settings: 0, or the exit code.
int EditorStartUp(MainLoop& loop);
// One pass of the loop: false when the program should end.
bool EditorFrame(MainLoop& loop);
// Writes the settings and tears everything down; returns the exit code 0.
int EditorShutDown(MainLoop& loop);
// Puts `fileName` in the file name field and loads it as the Load Demo button
// does (a failure shows on the status line).
void EditorOpenDemo(const char* fileName);
// The whole program; `demoFile`, when given, is opened at start.
int RunEditor(const char* demoFile = nullptr);
// Lets the C library keep freed memory for the next frame instead of handing
// it back to the system: the GL driver allocates and frees its buffers on
// every frame, and fresh pages cost a fault each.
void KeepMemoryBetweenFrames();

// Advances a playing music player by `elapsed` ms, stopping at the last
// millisecond of the demo, and restarts the music where the position was moved
// from outside since the previous frame.
void AdvancePlayback(MusicPlayer& music, uint32_t runningTime, uint32_t elapsed, uint32_t& lastPosition);
// The editor's playback: AdvancePlayback, wrapping from the loop range's out to
// its in while `looping` is on and the position is inside the range.
void AdvanceEditorPlayback(MusicPlayer& music, const DemoStruct& demo, bool looping, uint32_t elapsed,
                           uint32_t& lastPosition);

// Viewport and projection of the preview quarter for a window of width x height.
struct PreviewView {
    int x, y, width, height;
    double left, right, bottom, top;
};
PreviewView PreviewViewFor(int width, int height);
