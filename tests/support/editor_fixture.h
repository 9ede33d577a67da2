// An EditorApp on the test window, made current with SetApp and with its base
// screen built, working in a fresh scratch directory; and demo files that use
// the test plug-ins.
#pragma once

#include <string>
#include <atomic>
#include <thread>
#include <vector>

#include "app.h"
#include "gl_context.h"
#include "scratch_dir.h"

// Copies the interface font "FreeSerif.ttf" into `dir`.
void CopyInterfaceFont(const ScratchDir& dir);

// Absolute path of a test plug-in, e.g. PluginPath("RecordPlugin").
std::string PluginPath(const std::string& name);

// Writes `fileName` in `dir`: one library (`library`, with `functions`), one
// track per entry of `trackEvents` holding that many 1000 ms events of `event`
// (one parameter each), the running time and the music file.
void WriteTestDemo(const ScratchDir& dir, const std::string& fileName, const std::string& library,
                   const std::vector<std::string>& functions, const std::string& event,
                   const std::vector<int>& trackEvents, uint32_t runningTime, const std::string& music = "");

class EditorFixture {
  public:
    explicit EditorFixture(int width = 640, int height = 480);
    ~EditorFixture();
    EditorApp& app() { return *App(); }
    EditorScreen& screen() { return App()->editorScreen; }

    ScratchDir dir{true};
    GLContext gl;
    SDL_Config config;
};

// Answers the next modal questions (AskQuestion) with real clicks, from a thread
// that waits for each question to be open: answers[k] is the index of the button
// pressed in the k-th question from now, out of `counts[k]` buttons.
class QuestionAnswers {
  public:
    QuestionAnswers(std::vector<int> answers, std::vector<int> counts);
    ~QuestionAnswers(); // waits for the thread (at most a few seconds)
    // How many questions were answered.
    int answered() const { return done; }

  private:
    std::thread worker;
    std::atomic<bool> stop{false};
    std::atomic<int> done{0};
};
