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

enum class RunMode { Editor, Play, Render };

struct CommandLine {
    RunMode mode = RunMode::Editor;
    std::string demoFile = "Fenk.xml";
    std::string outDir;        // --out: numbered PNG files go here
    std::string videoFile;     // --video: an MP4 made by ffmpeg
    int width = 0, height = 0; // --size; 0 keeps the configured size
    bool fullscreen = false;
    bool loop = false;
    uint32_t fromMs = 0;
    bool hasTo = false;
    uint32_t toMs = 0;
    int fps = 30;
};

// Parses argv; false with a one-line reason in `error`.
bool ParseCommandLine(int argc, char** argv, CommandLine& out, std::string& error);
const char* UsageText();

int RunPlayer(const CommandLine& options);
struct DemoStruct;
// Opens the window, loads options.demoFile and runs `body` on it; returns the
// body's exit code, or the start or load failure's.
typedef int (*StandaloneBody)(DemoStruct& demo, const CommandLine& options, int width, int height);
int RunStandalone(const CommandLine& options, bool forRender, StandaloneBody body);
int RunRender(const CommandLine& options);

// Demo times of the frames a render draws: frame n at from + n x 1000 / fps,
// up to `to` inclusive.
std::vector<uint32_t> RenderFrameTimes(uint32_t fromMs, uint32_t toMs, int fps);

// PNG files of 8-bit RGBA pixels, rows from the top.
bool WritePng(const char* path, const uint8_t* rgba, int width, int height);
bool ReadPng(const char* path, std::vector<uint8_t>& rgba, int& width, int& height);
