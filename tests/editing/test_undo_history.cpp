// The undo history on its own: random edits, undos and redos against a demo in
// memory; undoing everything gives back the first demo, redoing everything the
// last; names, selections, the unsaved state and the step bound.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "demo_builder.h"
#include "demo_compare.h"
#include "demo_operations.h"
#include "scratch_dir.h"
#include "undo_history.h"

namespace {

const char* kLib = "libFenk.so";

int EntryA() {
    return 1;
}

struct UndoFixture : ::testing::Test {
    DemoStruct demo = EmptyDemo();
    DemoOperations ops;
    UndoHistory history;

    void SetUp() override {
        AddLibrary(demo, kLib, {{"Image", {"ImageNr", "PosX", "PosY", "Scale", "Opacity"}}, {"Clear", {}}});
        demo.libraries[0].functions[0].entry = (EffectProc)EntryA;
        for (int t = 0; t < 3; t++)
            AddTrack(demo);
        AddEvent(demo, 0, kLib, "Image", 0, 1000, {0, 1, 2, 3, 4}, {5, 6, 7, 8, 9});
        AddEvent(demo, 0, kLib, "Clear", 2000, 3000, {}, {});
        demo.tracks[0].events[0].effect = (EffectProc)EntryA;
        demo.runningTime = 60000;
        ops.demo = &demo;
    }
    void TearDown() override { ReleaseDemo(demo); }

    // One random edit through the operations, recorded first.
    void RandomEdit(std::mt19937& rng) {
        history.Record(demo, "Edit", EditSelection());
        uint32_t tracks = ops.TrackCount();
        uint32_t t = tracks ? rng() % tracks : 0;
        uint32_t events = ops.EventCount(t);
        uint32_t e = events ? rng() % events : 0;
        switch (rng() % 9) {
        case 0: ops.InsertTrack(rng() % (tracks + 1)); break;
        case 1: if (tracks > 1) ops.DeleteTrack(t); break;
        case 2: ops.SwapTracks(t, (t + 1) % (tracks ? tracks : 1)); break;
        case 3: ops.AddEvent(t, (rng() % 600) * 100, 0, rng() % 2); break;
        case 4: ops.AddContinuingEvent(t, e); break;
        case 5: ops.DeleteEvent(t, e); break;
        case 6: ops.MoveEventToTrack(t, e, (t + 1) % (tracks ? tracks : 1)); break;
        case 7:
            if (DemoEvent* ev = ops.GetEvent(t, e))
                if (ev->paramCount) ev->endValues[rng() % ev->paramCount] = (int32_t)rng();
            break;
        case 8: ops.SetAuthor(std::to_string(rng()).c_str()); break;
        }
    }
};

// The saved file's bytes, for "a save after undo equals a save before the edit".
std::string Saved(const DemoStruct& demo, const ScratchDir& dir) {
    EXPECT_TRUE(SaveDemoFile(dir.file("demo.xml").c_str(), &demo));
    return dir.Read("demo.xml");
}

TEST_F(UndoFixture, UndoingEverythingGivesTheFirstDemoAndRedoingEverythingTheLast) {
    ScratchDir dir;
    std::mt19937 rng(12345);
    const std::string firstFile = Saved(demo, dir);
    const DemoContent first = CaptureDemoContent(demo);
    EditSelection sel;
    std::string name;
    for (int round = 0; round < 6; round++) {
        for (int i = 0; i < 30; i++)
            RandomEdit(rng);
        // Undos and redos in between; the next edits drop what is left to redo.
        for (int i = 0; i < 12; i++)
            history.Undo(demo, sel, name);
        for (int i = 0; i < 4; i++)
            history.Redo(demo, sel, name);
    }
    for (int i = 0; i < 10; i++) // drops the 8 steps left to redo
        RandomEdit(rng);
    const std::string lastFile = Saved(demo, dir);
    const DemoContent last = CaptureDemoContent(demo);
    ASSERT_NE(firstFile, lastFile);

    int undos = 0;
    while (history.Undo(demo, sel, name))
        undos++;
    EXPECT_EQ(6 * 30 - 6 * 8 + 10, undos);
    EXPECT_TRUE(SameDemoContent(first, CaptureDemoContent(demo)));
    EXPECT_EQ(firstFile, Saved(demo, dir));
    // Events are bound again to the library's entry points.
    EXPECT_EQ((EffectProc)EntryA, demo.tracks[0].events[0].effect);

    while (history.Redo(demo, sel, name)) {
    }
    EXPECT_TRUE(SameDemoContent(last, CaptureDemoContent(demo)));
    EXPECT_EQ(lastFile, Saved(demo, dir));
}

TEST_F(UndoFixture, StepsCarryTheirNamesAndTheSelectionOfTheirTime) {
    EditSelection before;
    before.track = 0;
    before.event = 1;
    history.Record(demo, "Delete Event", before);
    ops.DeleteEvent(0, 1);
    EXPECT_STREQ("Delete Event", history.UndoName());
    EXPECT_STREQ("", history.RedoName());

    EditSelection now; // nothing selected after the delete
    std::string name;
    ASSERT_TRUE(history.Undo(demo, now, name));
    EXPECT_EQ("Delete Event", name);
    EXPECT_EQ(0, now.track);
    EXPECT_EQ(1, now.event);
    EXPECT_EQ(2u, ops.EventCount(0));
    EXPECT_STREQ("Delete Event", history.RedoName());

    ASSERT_TRUE(history.Redo(demo, now, name));
    EXPECT_EQ(-1, now.event); // the selection the redo was asked with, kept by the undo
    EXPECT_EQ(1u, ops.EventCount(0));
    EXPECT_FALSE(history.Redo(demo, now, name));
}

TEST_F(UndoFixture, ModifiedFollowsTheSavedStateThroughUndoAndRedo) {
    EXPECT_FALSE(history.IsModified());
    history.Record(demo, "Set Author", EditSelection());
    ops.SetAuthor("Someone");
    EXPECT_TRUE(history.IsModified());
    history.MarkSaved();
    EXPECT_FALSE(history.IsModified());

    EditSelection sel;
    std::string name;
    history.Undo(demo, sel, name);
    EXPECT_TRUE(history.IsModified()); // back before the saved state
    history.Redo(demo, sel, name);
    EXPECT_FALSE(history.IsModified());

    // A recorded step that changed nothing is dropped, and the redo steps survive it.
    history.Undo(demo, sel, name);
    history.Record(demo, "Colour", EditSelection());
    EXPECT_TRUE(history.DropIfUnchanged(demo));
    EXPECT_TRUE(history.IsModified());
    EXPECT_STREQ("Set Author", history.RedoName());
    history.Record(demo, "Set Author", EditSelection());
    ops.SetAuthor("Another");
    EXPECT_FALSE(history.DropIfUnchanged(demo));
    EXPECT_FALSE(history.CanRedo());
}

TEST_F(UndoFixture, TheHistoryKeepsItsNewestStepsAndSharesUnchangedTracks) {
    for (int i = 0; i < 300; i++) {
        history.Record(demo, "Edit", EditSelection());
        demo.tracks[0].events[0].startValues[0] = i;
    }
    EXPECT_EQ(UndoHistory::kMaxSteps, history.StepCount());
    // Only track 0 changes: tracks 1 and 2 are stored once for all the steps.
    const size_t oneTrack0 = CaptureDemoContent(demo).tracks[0]->size();
    EXPECT_LT(history.Bytes(), UndoHistory::kMaxSteps * (oneTrack0 + 200) + 1000);

    EditSelection sel;
    std::string name;
    int undos = 0;
    while (history.Undo(demo, sel, name))
        undos++;
    EXPECT_EQ(200, undos);
    EXPECT_EQ(99, demo.tracks[0].events[0].startValues[0]); // the oldest step kept
}

} // namespace
