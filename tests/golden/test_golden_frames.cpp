// Golden frames of the bundled example: one frame in the middle of the first
// event of every effect the demo uses and one in the middle of each linked
// chain, rendered headless and compared with the committed references within a
// tolerance that absorbs rounding but not a moved, missing or recoloured effect.
// With TRELLIC_REGENERATE_GOLDEN=1 the renders replace the references instead.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <sys/wait.h>

#include "editor_fixture.h"
#include "standalone.h"

namespace {

const int kWidth = 320, kHeight = 240;

struct GoldenFrame {
    uint32_t time;
    std::string what; // the effect or chain the frame is for
    std::string file() const { return std::to_string(time) + "_" + what + ".png"; }
};

std::vector<GoldenFrame> ChooseFrames() {
    DemoStruct demo = {};
    LoadDemoFile(TRELLIC_SOURCE_DIR "/examples/Fenk.xml", demo, false);
    std::vector<GoldenFrame> frames;
    std::map<std::string, bool> seen;
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            if (!seen[ev.functionName]) {
                seen[ev.functionName] = true;
                frames.push_back({ev.startTime + (ev.endTime - ev.startTime) / 2, ev.functionName});
            }
            bool chainStart = ev.continuesIntoNext && (e == 0 || !track.events[e - 1].continuesIntoNext);
            if (chainStart) {
                uint32_t last = e;
                while (last + 1 < track.eventCount && track.events[last].continuesIntoNext)
                    last++;
                frames.push_back(
                    {(ev.startTime + track.events[last].endTime) / 2, "chain" + std::to_string(t)});
            }
        }
    }
    ReleaseDemo(demo);
    return frames;
}

struct Difference {
    double meanAbs;     // mean absolute difference per colour channel
    double farFraction; // fraction of pixels with a channel off by more than 40
};

Difference Compare(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    Difference d = {0, 0};
    size_t pixels = a.size() / 4, far = 0;
    double sum = 0;
    for (size_t p = 0; p < pixels; p++) {
        int worst = 0;
        for (int c = 0; c < 3; c++) {
            int diff = abs((int)a[p * 4 + c] - (int)b[p * 4 + c]);
            sum += diff;
            if (diff > worst) worst = diff;
        }
        if (worst > 40) far++;
    }
    d.meanAbs = pixels ? sum / (pixels * 3.0) : 0;
    d.farFraction = pixels ? (double)far / pixels : 0;
    return d;
}

TEST(GoldenFrames, ExampleFramesMatchTheReferences) {
    std::vector<GoldenFrame> frames = ChooseFrames();
    ASSERT_GE(frames.size(), 8u) << "the example demo should show many effects";
    bool regenerate = getenv("TRELLIC_REGENERATE_GOLDEN") != nullptr;

    ScratchDir dir;
    ASSERT_EQ(0, system(("cp -r '" TRELLIC_SOURCE_DIR "/examples/.' '" + dir.path() + "'").c_str()));
    CopyInterfaceFont(dir);
    for (const GoldenFrame& f : frames) {
        SCOPED_TRACE(f.file());
        std::string out = "render_" + std::to_string(f.time);
        // At 1000 frames a second the frame at any millisecond exists, numbered by it.
        std::string cmd = "cd '" + dir.path() +
                          "' && '" TRELLIC_BIN_DIR "/Trellic' --render Fenk.xml --out " + out + " --fps 1000 --from " +
                          std::to_string(f.time) + " --to " + std::to_string(f.time) + " --size " +
                          std::to_string(kWidth) + "x" + std::to_string(kHeight) + " 2>/dev/null";
        int status = system(cmd.c_str());
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << cmd;
        char frameName[32];
        snprintf(frameName, sizeof frameName, "/frame_%06u.png", f.time);
        std::string rendered = dir.file(out + frameName);
        std::string reference = std::string(GOLDEN_DIR) + "/" + f.file();
        if (regenerate) {
            ASSERT_EQ(0, system(("cp '" + rendered + "' '" + reference + "'").c_str()));
            continue;
        }
        std::vector<uint8_t> got, want;
        int w = 0, h = 0, rw = 0, rh = 0;
        ASSERT_TRUE(ReadPng(rendered.c_str(), got, w, h));
        ASSERT_TRUE(ReadPng(reference.c_str(), want, rw, rh))
            << "no reference " << reference << ": run tools/regen-golden.sh";
        ASSERT_EQ(w, rw);
        ASSERT_EQ(h, rh);
        Difference d = Compare(got, want);
        EXPECT_LT(d.meanAbs, 1.5) << "mean difference per channel";
        EXPECT_LT(d.farFraction, 0.003) << "share of pixels far off";
    }
}

// The comparison itself must see a moved or recoloured picture.
TEST(GoldenFrames, ComparisonCatchesAShiftAndAColourChange) {
    std::vector<uint8_t> a(64 * 64 * 4, 0), shifted(a.size(), 0), tinted(a.size(), 0);
    for (int y = 20; y < 40; y++)
        for (int x = 20; x < 40; x++) {
            for (int c = 0; c < 3; c++)
                a[(y * 64 + x) * 4 + c] = 200;
            for (int c = 0; c < 3; c++)
                shifted[(y * 64 + x + 6) * 4 + c] = 200;
            tinted[(y * 64 + x) * 4 + 0] = 200;
        }
    EXPECT_EQ(0.0, Compare(a, a).meanAbs);
    EXPECT_GT(Compare(a, shifted).farFraction, 0.003);
    EXPECT_GT(Compare(a, tinted).farFraction, 0.003);
}
} // namespace
