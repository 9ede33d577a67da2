// Unsaved changes: the caption's star, the question before F10, closing the
// window and Load Demo, a failed load that loses nothing, the autosave and the
// recovery offer (also after the editor was killed).
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <SDL/SDL.h>

#include "editor.h"
#include "safety_helpers.h"
#include "sdl_events.h"

namespace {

const int kLoadX = 40, kLoadY = 275;
enum { kSave, kDiscard, kCancel };

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

std::string Caption() {
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    return title ? title : "";
}

// Sets a file's modification time `seconds` after the demo file's.
void TouchAfterDemo(const std::string& path, const std::string& demo, int seconds) {
    struct stat st;
    ASSERT_EQ(stat(demo.c_str(), &st), 0);
    struct timeval times[2] = {{st.st_mtim.tv_sec + seconds, 0}, {st.st_mtim.tv_sec + seconds, 0}};
    ASSERT_EQ(utimes(path.c_str(), times), 0);
}

class UnsavedChanges : public ::testing::Test {
  protected:
    EditingFixture e;
    MainLoop loop;
    void DeleteAnEvent() {
        ClickEventBlock(e, 0, 2000);
        PushKeyDown(SDLK_DELETE, 127);
        e.Pump();
        ASSERT_TRUE(e.app().undo.IsModified());
    }
    // One pass of the real main loop after `key` (or a window close when 0).
    bool FrameAfter(int key) {
        if (key)
            PushKeyDown(key);
        else
            PushQuitEvent();
        return EditorFrame(loop);
    }
};

} // namespace

TEST_F(UnsavedChanges, TheCaptionNamesTheDemoAndStarsUnsavedChanges) {
    EXPECT_TRUE(EditorFrame(loop));
    EXPECT_EQ(Caption(), "Trellic - Fenk.xml");
    DeleteAnEvent();
    EXPECT_TRUE(EditorFrame(loop));
    EXPECT_EQ(Caption(), "Trellic - Fenk.xml *");
    EXPECT_EQ(EditorCaption(e.app()), "Trellic - Fenk.xml *");
    CtrlKey(e, SDLK_z); // back to what the file holds
    EXPECT_EQ(EditorCaption(e.app()), "Trellic - Fenk.xml");
    CtrlKey(e, SDLK_y);
    CtrlKey(e, SDLK_s);
    EXPECT_TRUE(EditorFrame(loop));
    EXPECT_EQ(Caption(), "Trellic - Fenk.xml");
}

TEST_F(UnsavedChanges, WithoutChangesF10AndClosingQuitAtOnce) {
    const int asked = QuestionsAsked();
    EXPECT_FALSE(FrameAfter(SDLK_F10));
    EXPECT_FALSE(FrameAfter(0));
    EXPECT_EQ(QuestionsAsked(), asked);
}

TEST_F(UnsavedChanges, F10AndClosingAskAndCancelKeepsEditing) {
    DeleteAnEvent();
    for (int key : {(int)SDLK_F10, 0}) {
        QuestionAnswers cancel({kCancel}, {3});
        EXPECT_TRUE(FrameAfter(key)) << key;
        EXPECT_EQ(cancel.answered(), 1);
        EXPECT_TRUE(e.app().undo.IsModified());
        EXPECT_EQ(e.app().EventCount(0), 1u);
    }
    // Escape in the question is Cancel as well.
    const int asked = QuestionsAsked();
    PushKeyDown(SDLK_F10);
    AppActiveScreen().pollEvents();
    std::thread escape([asked] {
        for (int i = 0; i < 10000 && QuestionsAsked() == asked; i++)
            SDL_Delay(1);
        PushKeyDown(SDLK_ESCAPE, 27);
    });
    EXPECT_FALSE(ResolveUnsavedChanges());
    escape.join();
}

TEST_F(UnsavedChanges, DiscardQuitsWithoutWriting) {
    const std::string original = e.f.dir.Read("Fenk.xml");
    DeleteAnEvent();
    QuestionAnswers discard({kDiscard}, {3});
    EXPECT_FALSE(FrameAfter(SDLK_F10));
    EXPECT_EQ(e.f.dir.Read("Fenk.xml"), original);
    EXPECT_FALSE(Exists(e.f.dir.file("Fenk.xml.bak")));
}

TEST_F(UnsavedChanges, SaveWritesTheDemoToItsOwnFileThenQuits) {
    const std::string original = e.f.dir.Read("Fenk.xml");
    DeleteAnEvent();
    // The file name field names another file: the demo still goes to its own.
    e.screen().fileNameField->setText("Other.xml");
    QuestionAnswers save({kSave}, {3});
    EXPECT_FALSE(FrameAfter(0));
    EXPECT_EQ(e.f.dir.Read("Fenk.xml"), SavedFile(e));
    EXPECT_EQ(e.f.dir.Read("Fenk.xml.bak"), original);
    EXPECT_FALSE(Exists(e.f.dir.file("Other.xml")));
}

TEST_F(UnsavedChanges, LoadDemoAsksFirst) {
    DeleteAnEvent();
    DemoStruct* before = e.app().demo;
    {
        QuestionAnswers cancel({kCancel}, {3});
        e.Click(kLoadX, kLoadY);
        EXPECT_EQ(cancel.answered(), 1);
    }
    EXPECT_EQ(e.app().demo, before);
    EXPECT_EQ(e.app().EventCount(0), 1u);
    EXPECT_TRUE(e.app().undo.CanUndo());
    {
        QuestionAnswers discard({kDiscard}, {3});
        e.Click(kLoadX, kLoadY);
        EXPECT_EQ(discard.answered(), 1);
    }
    EXPECT_STREQ(e.screen().statusText, "Demo loaded");
    EXPECT_EQ(e.app().EventCount(0), 2u);
    EXPECT_FALSE(e.app().undo.IsModified());
}

TEST_F(UnsavedChanges, AFailedLoadKeepsTheDemoEditableWithItsChanges) {
    DeleteAnEvent();
    const std::string edited = SavedFile(e);
    e.screen().fileNameField->setText("Missing.xml");
    QuestionAnswers discard({kDiscard}, {3});
    e.Click(kLoadX, kLoadY);
    EXPECT_STREQ(e.screen().statusText, "Couldn't load the demo Missing.xml, does this file exists?");
    EXPECT_TRUE(e.app().demoLoaded);
    EXPECT_EQ(SavedFile(e), edited);
    ASSERT_NE(e.screen().trackGroup, nullptr);
    // Still editable and undoable.
    CtrlKey(e, SDLK_z);
    EXPECT_EQ(e.app().EventCount(0), 2u);
}

TEST_F(UnsavedChanges, AutosaveWritesUnsavedChangesAfterTheIntervalAndSaveRemovesIt) {
    EditorApp& app = e.app();
    const std::string autosave = e.f.dir.file("Fenk.xml.autosave");
    app.autosaveIntervalMs = 60000;
    app.AutosaveIfDue(1000); // nothing unsaved: nothing due
    DeleteAnEvent();
    app.AutosaveIfDue(2000); // the first unsaved change starts the minute
    app.AutosaveIfDue(61999);
    EXPECT_FALSE(Exists(autosave));
    app.AutosaveIfDue(62000);
    ASSERT_TRUE(Exists(autosave));
    EXPECT_EQ(e.f.dir.Read("Fenk.xml.autosave"), SavedFile(e));
    // Unchanged since: not written again.
    ASSERT_EQ(unlink(autosave.c_str()), 0);
    app.AutosaveIfDue(122000);
    EXPECT_FALSE(Exists(autosave));
    ClickEventBlock(e, 1, 500);
    PushKeyDown(SDLK_DELETE, 127);
    e.Pump();
    app.AutosaveIfDue(182000);
    EXPECT_TRUE(Exists(autosave));

    CtrlKey(e, SDLK_s);
    EXPECT_FALSE(Exists(autosave));
    app.AutosaveIfDue(400000);
    EXPECT_FALSE(Exists(autosave));
}

TEST_F(UnsavedChanges, DiscardRemovesTheAutosave) {
    e.app().autosaveIntervalMs = 10;
    DeleteAnEvent();
    e.app().AutosaveIfDue(100);
    e.app().AutosaveIfDue(200);
    ASSERT_TRUE(Exists(e.f.dir.file("Fenk.xml.autosave")));
    QuestionAnswers discard({kDiscard}, {3});
    EXPECT_FALSE(FrameAfter(SDLK_F10));
    EXPECT_FALSE(Exists(e.f.dir.file("Fenk.xml.autosave")));
}

TEST_F(UnsavedChanges, ANewerAutosaveIsOfferedAndRecoverMakesItAnUndoableChange) {
    const std::string original = e.f.dir.Read("Fenk.xml");
    DeleteAnEvent();
    const std::string edited = SavedFile(e);
    e.f.dir.Write("Fenk.xml.autosave", edited);
    TouchAfterDemo(e.f.dir.file("Fenk.xml.autosave"), e.f.dir.file("Fenk.xml"), 60);
    CtrlKey(e, SDLK_z);

    // Ignore: the file as it is; the autosave stays for another time.
    {
        QuestionAnswers ignore({1}, {2});
        e.Click(kLoadX, kLoadY);
        EXPECT_EQ(ignore.answered(), 1);
    }
    EXPECT_EQ(SavedFile(e), original);
    EXPECT_FALSE(e.app().undo.IsModified());
    EXPECT_TRUE(Exists(e.f.dir.file("Fenk.xml.autosave")));

    {
        QuestionAnswers recover({0}, {2});
        e.Click(kLoadX, kLoadY);
        EXPECT_EQ(recover.answered(), 1);
    }
    EXPECT_EQ(SavedFile(e), edited);
    EXPECT_EQ(e.f.dir.Read("Fenk.xml"), original); // untouched until saved
    EXPECT_TRUE(e.app().undo.IsModified());
    EXPECT_EQ(std::string(e.screen().statusText).rfind("Recovered unsaved changes from ", 0), 0u)
        << e.screen().statusText;
    EXPECT_EQ(EditorCaption(e.app()), "Trellic - Fenk.xml *");
    CtrlKey(e, SDLK_z);
    EXPECT_STREQ(e.screen().statusText, "Undo: Recover");
    EXPECT_EQ(SavedFile(e), original);
}

TEST_F(UnsavedChanges, AnAutosaveOlderThanTheFileIsNotOffered) {
    e.f.dir.Write("Fenk.xml.autosave", SavedFile(e));
    TouchAfterDemo(e.f.dir.file("Fenk.xml.autosave"), e.f.dir.file("Fenk.xml"), -60);
    const int asked = QuestionsAsked();
    e.Click(kLoadX, kLoadY);
    EXPECT_EQ(QuestionsAsked(), asked);
    EXPECT_STREQ(e.screen().statusText, "Demo loaded");
}

// The editor killed while it had unsaved changes: its autosave brings them back.
TEST(Autosave, ChangesSurviveSigkillAndAreRecovered) {
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // The editor, with its autosave every 50 ms, deletes an event and runs on
        // until it is killed. It tells the test where it works.
        close(pipeEnds[0]);
        setenv("TRELLIC_AUTOSAVE_MS", "50", 1);
        EditingFixture* e = new EditingFixture();
        ClickEventBlock(*e, 0, 2000);
        PushKeyDown(SDLK_DELETE, 127);
        e->Pump();
        const std::string folder = e->f.dir.path() + "\n";
        if (e->app().EventCount(0) != 1 || write(pipeEnds[1], folder.c_str(), folder.size()) < 0) _exit(4);
        MainLoop loop;
        for (;;) {
            EditorFrame(loop);
            SDL_Delay(5);
        }
    }
    close(pipeEnds[1]);
    std::string folder;
    char c;
    while (read(pipeEnds[0], &c, 1) == 1 && c != '\n')
        folder += c;
    close(pipeEnds[0]);
    ASSERT_FALSE(folder.empty());
    const std::string autosave = folder + "/Fenk.xml.autosave";
    for (int i = 0; i < 2000 && !Exists(autosave); i++)
        usleep(5000);
    ASSERT_TRUE(Exists(autosave)) << "no autosave appeared";
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));

    // Started again on that folder: the offer appears and Recover brings the edit back.
    {
        EditorFixture f;
        ASSERT_EQ(chdir(folder.c_str()), 0);
        QuestionAnswers recover({0}, {2});
        PushClick(kLoadX, kLoadY);
        AppActiveScreen().pollEvents();
        EXPECT_EQ(recover.answered(), 1);
        EXPECT_EQ(f.app().EventCount(0), 1u);
        EXPECT_EQ(f.app().EventCount(1), 1u);
        EXPECT_TRUE(f.app().undo.IsModified());
    }
    EXPECT_EQ(system(("rm -rf '" + folder + "'").c_str()), 0);
}
