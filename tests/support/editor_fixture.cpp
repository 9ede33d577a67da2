#include "editor_fixture.h"

#include <cstdio>

#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "demo_builder.h"
#include "sdl_events.h"

void CopyInterfaceFont(const ScratchDir& dir) {
    FILE* in = fopen("/usr/share/fonts/truetype/freefont/FreeSerif.ttf", "rb");
    if (!in) {
        ADD_FAILURE() << "FreeSerif.ttf is missing (package fonts-freefont-ttf)";
        return;
    }
    FILE* out = fopen(dir.file("FreeSerif.ttf").c_str(), "wb");
    char buffer[65536];
    size_t n;
    while (out && (n = fread(buffer, 1, sizeof buffer, in)) > 0)
        fwrite(buffer, 1, n, out);
    if (out) fclose(out);
    fclose(in);
}

std::string PluginPath(const std::string& name) {
    return std::string(TEST_PLUGIN_DIR) + "/lib" + name + ".so";
}

void WriteTestDemo(const ScratchDir& dir, const std::string& fileName, const std::string& library,
                   const std::vector<std::string>& functions, const std::string& event,
                   const std::vector<int>& trackEvents, uint32_t runningTime, const std::string& music) {
    DemoStruct demo = EmptyDemo();
    std::vector<FunctionSpec> declared;
    for (const std::string& f : functions)
        declared.push_back({f, {"Value"}});
    AddLibrary(demo, library, declared);
    for (int count : trackEvents) {
        uint32_t t = AddTrack(demo);
        for (int e = 0; e < count; e++)
            AddEvent(demo, t, library, event, (uint32_t)e * 1000, (uint32_t)e * 1000 + 990, {e}, {e + 10});
    }
    demo.runningTime = runningTime;
    demo.inputMusicFile = CopyString(music.c_str());
    demo.author = CopyString("Tester");
    if (!SaveDemoFile(dir.file(fileName).c_str(), &demo)) ADD_FAILURE() << "could not write " << fileName;
    ReleaseDemo(demo);
}

EditorFixture::EditorFixture(int width, int height) : gl(width, height) {
    CopyInterfaceFont(dir);
    DrainEvents();
    CancelPointerDrag();
    SharedMouseState() = MouseState{false, false, 0, 0, 0};
    windowWidth = width;
    windowHeight = height;
    SDL_Config_DefaultConfig(&config);
    config.width = width;
    config.height = height;
    SetApp(new EditorApp(SDL_GetVideoSurface(), &config));
    App()->editorScreen.BuildBase();
}

EditorFixture::~EditorFixture() {
    SetApp(nullptr);
    DrainEvents();
    CancelPointerDrag();
    SharedMouseState() = MouseState{false, false, 0, 0, 0};
}

QuestionAnswers::QuestionAnswers(std::vector<int> answers, std::vector<int> counts) {
    const int first = QuestionsAsked();
    worker = std::thread([this, answers, counts, first]() {
        for (size_t k = 0; k < answers.size(); k++) {
            // Up to 10 s for the question to open; a test that expects none stops us.
            for (int i = 0; i < 10000 && !stop; i++) {
                if (QuestionsAsked() > first + (int)k && ModalQuestionDepth() > 0) break;
                SDL_Delay(1);
            }
            if (stop || QuestionsAsked() <= first + (int)k) return;
            const QuestionLayout l = QuestionLayoutFor(counts[k]);
            PushClick(l.buttonX[answers[k]] + 10, l.buttonY[answers[k]] + 10);
            done++;
            // The next question may only open once this one has closed.
            for (int i = 0; i < 10000 && ModalQuestionDepth() > 0 && !stop; i++)
                SDL_Delay(1);
        }
    });
}

QuestionAnswers::~QuestionAnswers() {
    stop = true;
    if (worker.joinable()) worker.join();
}
