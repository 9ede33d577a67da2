// The animation list: BEGIN/END blocks of frames, their texture slots, the
// fixed table sizes and the frame chosen for a time.
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "effects.h"
#include "fxruntime.h"
#include "gl_context.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
class AnimationTableTest : public ::testing::Test {
  protected:
    GLContext gl;
    ScratchDir dir{true};
    void SetUp() override {
        ReleaseAnimations();
        ReleaseTextures();
        SaveSolidBmp("f0.bmp", 2, 2, 0xFF0000);
        SaveSolidBmp("f1.bmp", 2, 2, 0x00FF00);
        SaveSolidBmp("f2.bmp", 2, 2, 0x0000FF);
    }
    void TearDown() override {
        ReleaseAnimations();
        ReleaseTextures();
    }
};

AnimFrame MakeFrame(long duration) {
    AnimFrame f = {};
    f.duration = duration;
    return f;
}

struct TestAnimation {
    Animation animation = {};
    AnimFrame frames[4];
    explicit TestAnimation(std::initializer_list<long> durations) {
        for (long d : durations) {
            frames[animation.frameCount] = MakeFrame(d);
            animation.frames[animation.frameCount] = &frames[animation.frameCount];
            animation.frameCount++;
        }
    }
};
} // namespace

TEST_F(AnimationTableTest, BeginPathsDurationsEndMakeOneAnimationWithItsFramesLoaded) {
    dir.Write("AnimList.txt", "BEGIN\nf0.bmp 100\nf1.bmp 250\nf2.bmp 50\nEND\n");
    LoadAnimList();
    const Animation* a = GetAnimation(0);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->frameCount, 3);
    EXPECT_STREQ(a->frames[0]->name, "f0.bmp");
    EXPECT_EQ(a->frames[1]->duration, 250);
    EXPECT_STREQ(a->frames[2]->name, "f2.bmp");
    EXPECT_EQ(GetAnimation(1), nullptr);
    EXPECT_EQ(TextureCount(), 3);
    EXPECT_EQ(FindTexture("f1.bmp"), 1);
}

TEST_F(AnimationTableTest, TextBeforeTheFirstBeginIsSkippedTokenByToken) {
    dir.Write("AnimList.txt", "some words 12 here\nBEGIN f0.bmp 10 END BEGIN f1.bmp 20 f2.bmp 30 END");
    LoadAnimList();
    ASSERT_NE(GetAnimation(1), nullptr);
    EXPECT_EQ(GetAnimation(0)->frameCount, 1);
    EXPECT_EQ(GetAnimation(1)->frameCount, 2);
    EXPECT_EQ(GetAnimation(1)->frames[1]->duration, 30);
}

TEST_F(AnimationTableTest, DurationThatIsNotANumberEndsTheAnimationAndTheFile) {
    dir.Write("AnimList.txt", "BEGIN f0.bmp 10 END BEGIN f1.bmp 20 f2.bmp soon BEGIN f0.bmp 5 END");
    LoadAnimList();
    ASSERT_NE(GetAnimation(1), nullptr);
    EXPECT_EQ(GetAnimation(1)->frameCount, 1);
    EXPECT_EQ(GetAnimation(2), nullptr);
    EXPECT_EQ(FindTexture("f2.bmp"), -1);
}

TEST_F(AnimationTableTest, MissingListMeansNoAnimations) {
    LoadAnimList();
    EXPECT_EQ(GetAnimation(0), nullptr);
}

TEST_F(AnimationTableTest, NegativeOrTooLargeIndicesGiveNoAnimation) {
    dir.Write("AnimList.txt", "BEGIN f0.bmp 10 END");
    LoadAnimList();
    EXPECT_NE(GetAnimation(0), nullptr);
    EXPECT_EQ(GetAnimation(-1), nullptr);
    EXPECT_EQ(GetAnimation(1), nullptr);
    EXPECT_EQ(GetAnimation(256), nullptr);
}

TEST_F(AnimationTableTest, FrameImageThatFailsPassesTheTableError) {
    dir.Write("AnimList.txt", "BEGIN f0.bmp 10 gone.bmp 20 END");
    try {
        LoadAnimList();
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.GetMessage(), "IMG_Load couldn't load the file gone.bmp");
    }
    ASSERT_NE(GetAnimation(0), nullptr); // the frame read before stays owned
    EXPECT_EQ(GetAnimation(0)->frameCount, 1);
}

TEST_F(AnimationTableTest, OverlongFramePathIsRejectedWithAClearMessage) {
    dir.Write("AnimList.txt", "BEGIN " + std::string(400, 'z') + ".bmp 10 END");
    try {
        LoadAnimList();
        FAIL() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_EQ(std::string(e.GetMessage()).rfind("AnimList.txt: a path is longer than 255 characters", 0),
                  0u)
            << e.GetMessage();
    }
}

TEST_F(AnimationTableTest, FramesBeyondTheFixedFieldAreReadButNotKept) {
    std::ofstream list("AnimList.txt");
    list << "BEGIN\n";
    for (int i = 0; i < 300; i++)
        list << "f" << i % 3 << ".bmp " << i + 1 << "\n";
    list << "END BEGIN f2.bmp 7 END\n";
    list.close();
    LoadAnimList();
    ASSERT_NE(GetAnimation(0), nullptr);
    EXPECT_EQ(GetAnimation(0)->frameCount, kMaxFrames);
    EXPECT_EQ(GetAnimation(0)->frames[255]->duration, 256);
    ASSERT_NE(GetAnimation(1), nullptr);
    EXPECT_EQ(GetAnimation(1)->frames[0]->duration, 7);
}

TEST_F(AnimationTableTest, RepeatedLoadsAppendUntilTheTableIsFullAndKeepEarlierNumbers) {
    dir.Write("AnimList.txt", "BEGIN f0.bmp 10 END BEGIN f1.bmp 20 END");
    LoadAnimList();
    LoadAnimList();
    ASSERT_NE(GetAnimation(3), nullptr);
    EXPECT_STREQ(GetAnimation(2)->frames[0]->name, "f0.bmp");
    for (int i = 0; i < 200; i++)
        LoadAnimList();
    EXPECT_NE(GetAnimation(255), nullptr);
    EXPECT_EQ(GetAnimation(256), nullptr);
    EXPECT_STREQ(GetAnimation(1)->frames[0]->name, "f1.bmp");
    EXPECT_EQ(TextureCount(), 2);
}

TEST_F(AnimationTableTest, ReleaseAnimationsEmptiesTheTable) {
    dir.Write("AnimList.txt", "BEGIN f0.bmp 10 END");
    LoadAnimList();
    ReleaseAnimations();
    EXPECT_EQ(GetAnimation(0), nullptr);
    LoadAnimList();
    EXPECT_EQ(GetAnimation(0)->frameCount, 1);
}

TEST(AnimationFrameAt, EachFrameShowsForItsDurationAndTheSequenceLoops) {
    TestAnimation t({100, 100});
    EXPECT_EQ(AnimationFrameAt(t.animation, 0), 0);
    EXPECT_EQ(AnimationFrameAt(t.animation, 99), 0);
    EXPECT_EQ(AnimationFrameAt(t.animation, 100), 1);
    EXPECT_EQ(AnimationFrameAt(t.animation, 199), 1);
    EXPECT_EQ(AnimationFrameAt(t.animation, 200), 0);
    EXPECT_EQ(AnimationFrameAt(t.animation, 2000000301), 1);
}

TEST(AnimationFrameAt, UnevenDurationsAndZeroLengthFrames) {
    TestAnimation t({30, 0, 70});
    EXPECT_EQ(AnimationFrameAt(t.animation, 29), 0);
    EXPECT_EQ(AnimationFrameAt(t.animation, 30), 2); // a frame of duration 0 is never shown
    EXPECT_EQ(AnimationFrameAt(t.animation, 99), 2);
    EXPECT_EQ(AnimationFrameAt(t.animation, 100), 0);
}

TEST(AnimationFrameAt, CasesWithoutAnAnswerEndAtOnce) {
    TestAnimation zero({0, 0});
    EXPECT_EQ(AnimationFrameAt(zero.animation, 500), 0);
    TestAnimation normal({100, 100});
    EXPECT_EQ(AnimationFrameAt(normal.animation, -1), 0);
    EXPECT_EQ(AnimationFrameAt(normal.animation, -2147483647L - 1), 0);
    TestAnimation negative({-50, 100});
    EXPECT_EQ(AnimationFrameAt(negative.animation, 50), 1);
    TestAnimation none({});
    EXPECT_EQ(AnimationFrameAt(none.animation, 0), -1);
}
