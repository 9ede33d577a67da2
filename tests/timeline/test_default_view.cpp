// The unzoomed timeline against reference images of the lower half of the
// editor, taken before zoom, scrolling and batched drawing existed: rows,
// blocks (overlapping, hidden, cut at the axis end), the framed row with its
// marker, the selected block and the cursor line must come out the same.
// TRELLIC_REGEN_TIMELINE=1 rewrites the references.
#include <cstdlib>
#include <string>

#include <gtest/gtest.h>

#include "gl_context.h"
#include "gui.h"
#include "standalone.h"
#include "timeline.h"
#include "timeline_scenes.h"

namespace {

// After a smaller window in the same process, SDL 1.2's new window may keep
// the old drawable size: the frame's right edge (blue 0x40) is then missing.
bool WindowTookItsSize(int width, int height) {
    return (GLContext::ReadPixel(width - 1, height / 2 + 10, height) & 0xFF) != 0;
}

void CompareWithReference(const std::string& name, int width, int height) {
    if (!WindowTookItsSize(width, height)) GTEST_SKIP() << "the window kept a smaller drawable; run alone";
    const int x0 = 105, y0 = height / 2, w = width - x0, h = height - y0;
    const std::vector<uint8_t> rgb = ReadRegion(x0, y0, w, h, height);
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i < rgb.size(); i += 3) {
        rgba.insert(rgba.end(), rgb.begin() + (long)i, rgb.begin() + (long)i + 3);
        rgba.push_back(255);
    }
    const std::string path = std::string(TIMELINE_REFERENCE_DIR) + "/" + name + ".png";
    if (getenv("TRELLIC_REGEN_TIMELINE")) {
        ASSERT_TRUE(WritePng(path.c_str(), rgba.data(), w, h));
        return;
    }
    std::vector<uint8_t> want;
    int rw = 0, rh = 0;
    ASSERT_TRUE(ReadPng(path.c_str(), want, rw, rh)) << path;
    ASSERT_EQ(w, rw);
    ASSERT_EQ(h, rh);
    int differing = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            const size_t i = ((size_t)y * w + x) * 4;
            if (want[i] != rgba[i] || want[i + 1] != rgba[i + 1] || want[i + 2] != rgba[i + 2]) {
                if (differing++ == 0) firstX = x0 + x, firstY = y0 + y;
            }
        }
    if (differing) WritePng(("/tmp/timeline_" + name + ".png").c_str(), rgba.data(), w, h);
    EXPECT_EQ(0, differing) << name << ": first difference at (" << firstX << ", " << firstY << ")";
}

TrackRow* Row(EditorFixture& f, int track) {
    return dynamic_cast<TrackRow*>(f.screen().trackGroup->childAt(track));
}

void Shape640(EditorFixture& f) {
    OpenGeneratedDemo(f, "scene.xml", 5, 12, 700, 1000, 150, 12000);
    EditorApp& app = f.app();
    app.SetEventHidden(1, 3, true);
    app.SetTrackHidden(2, true);
    app.GetEvent(3, 4)->endTime = 6200; // runs over the next two
    app.music.position = 4321;
}

TEST(TimelineDefaultView, FramedRowWithMarkerAt640x480) {
    EditorFixture f(640, 480);
    Shape640(f);
    f.screen().SelectTrack(1);
    ASSERT_NE(nullptr, Row(f, 1));
    Row(f, 1)->markerTime = 5000;
    PumpEditor();
    CompareWithReference("framed_row_640", 640, 480);
}

TEST(TimelineDefaultView, SelectedOverlappingBlockAt640x480) {
    EditorFixture f(640, 480);
    Shape640(f);
    f.screen().SelectEvent(3, 4);
    PumpEditor();
    CompareWithReference("selected_block_640", 640, 480);
    f.screen().SelectEvent(1, 3); // hidden and selected
    PumpEditor();
    CompareWithReference("selected_hidden_640", 640, 480);
}

TEST(TimelineDefaultView, SixteenTracksOfNarrowBlocksAt800x600) {
    EditorFixture f(800, 600);
    OpenGeneratedDemo(f, "many.xml", 16, 40, 400, 900, 37, 40000);
    f.app().music.position = 20000;
    f.screen().SelectEvent(5, 7);
    PumpEditor();
    CompareWithReference("sixteen_tracks_800", 800, 600);
}

// Zoomed in and scrolled down, with the track panel's frame on one row and
// the selected block on another: the rows, the gaps between them (the cursor
// line and the frames cross them) and the scroll bars.
TEST(TimelineDefaultView, ZoomedAndScrolledRowsAt800x600) {
    EditorFixture f(800, 600);
    OpenGeneratedDemo(f, "forty.xml", 40, 30, 900, 2000, 61, 60000);
    f.app().music.position = 31234;
    TimelineView& view = EditorTimelineView();
    view.viewStart = 20000;
    view.viewSpan = 25000;
    view.firstRow = 12;
    f.screen().SelectTrack(16);
    ASSERT_NE(nullptr, Row(f, 16));
    Row(f, 16)->markerTime = 30500;
    PumpEditor();
    CompareWithReference("zoomed_framed_800", 800, 600);
    f.screen().SelectEvent(18, 12);
    PumpEditor();
    CompareWithReference("zoomed_selected_800", 800, 600);
    EXPECT_EQ(12u, EditorTimelineView().firstRow); // the view stayed where it was put
}

// Short events packed closer than two pixels run together as one green
// stretch, only the run's first block keeping its black edge (each edge drawn
// would cover the block before, and the row would show black); two pixels
// apart, every block keeps its edge. 870400 ms over 680 pixels: 1280 ms a
// pixel, so the blocks of 100 ms are 3 pixels wide at x = 110 + start / 1280.
TEST(TimelineDenseBlocks, ShortEventsWithinAPixelShowAsOneRun) {
    EditorFixture f(800, 600);
    OpenGeneratedDemo(f, "dense.xml", 1, 600, 100, 1280, 0, 870400);
    PumpEditor();
    const int y = TrackRowTop(0) + 6;
    auto rgb = [&](int x) { return GLContext::ReadPixel(x, y, 600) & 0xFFFFFF; };
    auto oneRun = [&] {
        EXPECT_EQ(0u, rgb(110));
        for (int x = 111; x <= 711; x++)
            ASSERT_EQ(0x60A060u, rgb(x)) << x;
        EXPECT_NE(0x60A060u, rgb(712)); // the row after the last block
    };
    oneRun();
    // The same drawn one block widget at a time.
    GLContext::ClearTo(0, 0, 0, 1);
    for (uint32_t i = 0; i < 600; i++) {
        TimelineEventBlock block(i, 0);
        drawInterface(&block);
    }
    oneRun();

    OpenGeneratedDemo(f, "apart.xml", 1, 300, 100, 2560, 0, 870400);
    PumpEditor();
    for (int e = 0; e < 300; e++) {
        ASSERT_EQ(0u, rgb(110 + 2 * e)) << e;
        ASSERT_EQ(0x60A060u, rgb(111 + 2 * e)) << e;
    }
}

} // namespace
