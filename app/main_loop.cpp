// Start-up, the main loop and shutdown of the editor: configuration, window,
// GLEW, GL state and application; per frame the event pump, the playback clock,
// the demo in the preview quarter (or the whole window) and the interface.
#include "app.h"

#include <cstdio>
#include <string>
#include <unistd.h>

#include <GL/glew.h>
#include <SDL/SDL.h>

#include "engine.h"
#include "idle_wait.h"
#include "oglstate.h"

namespace {
const char* kVideoConfigFile = "VorlenEdit.ini";
const char* kSettingsFile = "Trellic.cnfg";
} // namespace

PreviewView PreviewViewFor(int width, int height) {
    PreviewView v;
    v.x = 0;
    v.y = height / 2;
    v.width = width / 2;
    v.height = height / 2;
    v.left = -(width / 4);
    v.right = width / 4;
    v.bottom = height / 4;
    v.top = -(height / 4);
    return v;
}

void AdvancePlayback(MusicPlayer& music, uint32_t runningTime, uint32_t elapsed, uint32_t& lastPosition) {
    uint32_t old = music.position;
    uint32_t next = old + elapsed;
    bool moved = old != lastPosition;
    // While the music sounds its position is the clock; the tick counter only
    // runs the demo in silence.
    uint32_t audio = 0;
    if (!moved && music.AudioPosition(audio)) next = audio > old ? audio : old;
    if (next >= runningTime || next < old) {
        // A demo of running time 0 has no last millisecond: it stays at 0.
        next = runningTime > 0 ? runningTime - 1 : 0;
        music.playing = false;
    }
    music.position = next;
    if (moved) music.Play(true, next);
    lastPosition = next;
}

int ReadVideoConfig(SDL_Config& config) {
    SDL_Config_DefaultConfig(&config);
    config.subsystems = SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO;
    config.width = 640;
    config.height = 480;
    return SDL_Config_LoadConfig(kVideoConfigFile, &config) < 0 ? 1 : 0;
}

int OpenVideo(SDL_Config& config, SDL_Surface*& screen, bool& audioOpen) {
    config.videoFlags |= SDL_OPENGL;
    screen = SDL_Config_Init(&config);
    if (!screen) return 1;

    GLenum glew = glewInit();
    if (glew != GLEW_OK) {
        fprintf(stderr, "Glew init error: %s\n", glewGetErrorString(glew));
        return 1;
    }

    // No audio device means a silent program, not a failed start.
    if (!(config.subsystems & SDL_INIT_AUDIO)) return 0;
    audioOpen = SDL_WasInit(SDL_INIT_AUDIO) && Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) == 0;
    if (!audioOpen) fprintf(stderr, "Trellic: no audio device (%s), playing silently\n", Mix_GetError());
    return 0;
}

// The interface draws every text with its font: started elsewhere than in the
// demo's folder, say so and stop before a window opens.
static bool InterfaceFontFound() {
    const char* font = TextWidget::kDefaultFontFile;
    if (access(font, R_OK) == 0) return true;
    char folder[4096];
    if (!getcwd(folder, sizeof folder)) snprintf(folder, sizeof folder, "the current folder");
    fprintf(stderr,
            "Trellic: cannot find the interface font \"%s\" in %s: run Trellic from the demo's folder, "
            "with \"%s\" beside the demo (scripts/run-editor.sh copies it there)\n",
            font, folder, font);
    return false;
}

int EditorStartUp(MainLoop& loop) {
    if (ReadVideoConfig(loop.videoConfig) != 0) return 1;
    if (!InterfaceFontFound()) return 1;
    if (OpenVideo(loop.videoConfig, loop.screen, loop.audioOpen) != 0) return 1;

    SDL_EnableUNICODE(1);
    SDL_EnableKeyRepeat(500, 30);

    loop.glState = new OGLState((unsigned)loop.videoConfig.width, (unsigned)loop.videoConfig.height);
    OGLState::SetState(loop.glState);
    windowWidth = loop.videoConfig.width;
    windowHeight = loop.videoConfig.height;

    try {
        SetApp(new EditorApp(loop.screen, &loop.videoConfig));
        App()->editorScreen.BuildBase();
    } catch (const BasicException& e) {
        // A font file that is there but does not load, for one.
        std::string message = e.GetMessage();
        while (!message.empty() && message.back() == '\n')
            message.pop_back();
        fprintf(stderr, "Trellic: %s\n", message.c_str());
        SetApp(nullptr);
        OGLState::SetState(nullptr);
        delete loop.glState;
        loop.glState = nullptr;
        return 1;
    }
    loop.lastTicks = SDL_GetTicks();
    loop.lastPosition = 0;
    App()->ReadSettings(kSettingsFile);
    return 0;
}

static void DrawDemoFrame(EditorApp& app, MainLoop& loop) {
    MusicPlayer& music = app.music;
    if (const char* message = music.Update()) app.editorScreen.SetStatus(message);
    UpdateMusicPanels();
    if (music.playing)
        AdvanceEditorPlayback(music, *app.demo, MusicView().looping, loop.now - loop.lastTicks, loop.lastPosition);

    // After a failed reload the clock runs on, but the preview stays dark.
    if (app.effectsUnbound) return;
    bool preview = !app.fullScreenPreview;
    if (preview) {
        PreviewView v = PreviewViewFor(windowWidth, windowHeight);
        OGLState::PushViewport(v.x, v.y, v.width, v.height);
        OGLState::PushProjection(v.left, v.right, v.bottom, v.top, 1.0, 100.0, false);
    }
    // An effect that raises between its pushes and pops must not leave its state
    // behind: the editor goes on drawing frame after frame.
    OGLState::Depths depths = OGLState::GetDepths();
    bool raised = true;
    try {
        if (!RenderFrame(*app.demo, music.position))
            app.editorScreen.SetStatus("Unknown error during playing of this screen!");
        raised = false;
    } catch (const BasicException& e) {
        app.editorScreen.SetStatus(e.GetMessage());
    } catch (...) {
        app.editorScreen.SetStatus("Unknown error during playing of this screen!");
    }
    if (raised) {
        OGLState::PopToDepths(depths);
        // The loop pushes no matrix itself: whatever is above the first was the effect's.
        glMatrixMode(GL_MODELVIEW);
        GLint matrices = 1;
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &matrices);
        for (; matrices > 1; matrices--)
            glPopMatrix();
    }
    if (preview) {
        OGLState::PopViewport();
        OGLState::PopProjection();
    }
}

bool EditorFrame(MainLoop& loop) {
    // F10 or closing the window: unsaved changes are saved, discarded or kept first.
    if (AppActiveScreen().pollEvents() && ResolveUnsavedChanges()) return false;
    EditorApp& app = *App();
    app.AutosaveIfDue(SDL_GetTicks());
    UpdateWindowCaption(app);
    if (!(SDL_GetAppState() & SDL_APPACTIVE)) return true;

    loop.now = SDL_GetTicks();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (app.demoLoaded && app.demo) DrawDemoFrame(app, loop);
    drawInterface(&AppActiveScreen());
    SDL_GL_SwapBuffers();
    loop.lastTicks = loop.now;
    return true;
}

int EditorShutDown(MainLoop& loop) {
    CancelTempoDetection();
    if (EditorApp* app = App()) {
        app->WriteSettings(kSettingsFile);
        // An autosave this run wrote of changes since undone or saved is stale.
        if (app->autosavedRevision != ~(uint64_t)0 && !app->undo.IsModified()) app->RemoveAutosave();
    }
    SetApp(nullptr);
    OGLState::SetState(nullptr);
    delete loop.glState;
    loop.glState = nullptr;
    if (loop.audioOpen) Mix_CloseAudio();
    loop.audioOpen = false;
    return 0;
}

void EditorOpenDemo(const char* fileName) {
    EditorScreen& screen = AppEditorScreen();
    if (screen.fileNameField) screen.fileNameField->setText(fileName);
    LoadDemoCommand(0, 0, 1);
}

int RunEditor(const char* demoFile) {
    MainLoop loop;
    int code = EditorStartUp(loop);
    if (code != 0) {
        SDL_Quit();
        return code;
    }
    if (demoFile) EditorOpenDemo(demoFile);
    // Paused and still, the loop sleeps until there is something to show.
    while (EditorFrame(loop)) {
        if (!EditorAnimating(*App()) || !(SDL_GetAppState() & SDL_APPACTIVE)) WaitForEditorWork();
    }
    code = EditorShutDown(loop);
    SDL_Quit();
    return code;
}
