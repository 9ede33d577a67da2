// Trellic's command line beyond the editor: the standalone player and the
// headless renderer (numbered PNG files and, through ffmpeg, a video).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Exit codes of the program.
enum ExitCode {
    kExitOk = 0,
    kExitStartFailed = 1,  // configuration, window or GLEW
    kExitUsage = 2,        // a bad command line
    kExitLoadFailed = 3,   // the demo did not load (the stage message is on standard error)
    kExitFrameFailed = 4,  // an effect failed while playing or rendering
    kExitOutputFailed = 5, // a frame or the video could not be written, or ffmpeg is missing
};

enum class RunMode { Editor, Play, Render, Help, Version };

// zlib's fastest level: a render spends its time drawing, not squeezing bytes.
const int kDefaultPngLevel = 1;

struct CommandLine {
    RunMode mode = RunMode::Editor;
    std::string demoFile = "Fenk.xml";
    bool editorFileGiven = false; // Trellic FILE: the editor loads it at once
    std::string outDir;           // --out: numbered PNG files go here
    std::string videoFile;        // --video: an MP4 made by ffmpeg
    int width = 0, height = 0;    // --size; 0 keeps the configured size
    bool fullscreen = false;
    bool loop = false;
    uint32_t fromMs = 0;
    bool hasTo = false;
    uint32_t toMs = 0;
    // --from/--to NAME: a marker of the demo; ResolveRange puts its time in fromMs/toMs.
    std::string fromMarker, toMarker;
    bool loopRange = false; // --loop-range: the demo's stored loop range
    int fps = 30;
    int pngLevel = kDefaultPngLevel;
};

// Parses argv; false with a one-line reason in `error`.
bool ParseCommandLine(int argc, char** argv, CommandLine& out, std::string& error);
// Every form of the command line; one mode's form; the text of --help.
const char* UsageText();
const char* UsageFor(RunMode mode);
const char* HelpText();
struct DemoStruct;
// Once the demo is loaded: the times of marker names and of --loop-range. False
// with a one-line reason when a marker or the loop range is missing.
bool ResolveRange(const DemoStruct& demo, CommandLine& options, std::string& error);

int RunPlayer(const CommandLine& options);
// Opens the window, loads options.demoFile and runs `body` on it; returns the
// body's exit code, or the start or load failure's.
typedef int (*StandaloneBody)(DemoStruct& demo, const CommandLine& options, int width, int height);
int RunStandalone(const CommandLine& options, bool forRender, StandaloneBody body);
int RunRender(const CommandLine& options);

// The frames a render draws: frame n shows the demo at n x 1000 / fps ms,
// counted from time 0 whatever the range, so that renders of neighbouring
// ranges join; every frame whose time lies in [from, to].
struct FrameSlot {
    uint64_t number;
    uint32_t time; // ms
};
std::vector<FrameSlot> RenderFrameSlots(uint32_t fromMs, uint32_t toMs, int fps);

// PNG files of 8-bit RGBA pixels, rows from the top.
bool WritePng(const char* path, const uint8_t* rgba, int width, int height);
bool ReadPng(const char* path, std::vector<uint8_t>& rgba, int& width, int& height);
// A rendered frame as an opaque RGB PNG in memory: `rgba` rows from the top, the
// fourth byte of each pixel left out; `level` is zlib's, 0 to 9.
bool EncodePng(const uint8_t* rgba, int width, int height, int level, std::vector<uint8_t>& out);

// The OpenGL context a render draws in: EGL on Mesa's surfaceless platform,
// which needs no display, else a window opened through SDL.
struct SDL_Config;
struct SDL_Surface;
class RenderContext {
  public:
    // 0, or the exit code 1 after a line on standard error.
    int Open(SDL_Config& config);
    ~RenderContext();
    // The window, or a stand-in surface that gives the demo's surfaces their format.
    SDL_Surface* screen = nullptr;
    bool headless = false; // EGL, no window

  private:
    bool OpenHeadless();
    void* display = nullptr;
    void* context = nullptr;
    SDL_Surface* standIn = nullptr;
};
