// The editor's font cache: sharing, reference counts, the 32-font limit, slot
// reuse, and the users that keep the cached fonts alive.
#include <gtest/gtest.h>

#include <string>

#include "basic_exception.h"
#include "font.h"
#include "font_internal.h"
#include "gl_context.h"
#include "scratch_dir.h"

namespace {

class FontCacheTest : public testing::Test {
  protected:
    GLContext ctx;
    FontCache& cache = FontCache::Instance();

    void SetUp() override {
        ASSERT_EQ(cache.userCount(), 0);
        cache.addUser();
    }
    void TearDown() override {
        cache.removeUser();
        EXPECT_EQ(cache.size(), 0u);
        EXPECT_EQ(FreeTypeLoadCount(), 0);
    }
};

std::string AcquireError(FontCache& cache, const char* path, int pixelSize) {
    try {
        cache.acquire(path, pixelSize);
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}

} // namespace

TEST_F(FontCacheTest, SamePairTwiceSharesOneFont) {
    Font* first = cache.acquire(FREESERIF_PATH, 14);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(FreeTypeLoadCount(), 1);
    Font* second = cache.acquire(FREESERIF_PATH, 14);
    EXPECT_EQ(second, first);
    EXPECT_EQ(FreeTypeLoadCount(), 1); // nothing loaded
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.references(0), 2);

    cache.release(first);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.entry(0), first);
    EXPECT_EQ(FreeTypeLoadCount(), 1);
    cache.release(second);
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.entry(0), nullptr);
    EXPECT_EQ(cache.references(0), 0);
    EXPECT_EQ(FreeTypeLoadCount(), 0);
}

TEST_F(FontCacheTest, SizeAndFileNameBothDistinguishFonts) {
    Font* serif14 = cache.acquire(FREESERIF_PATH, 14);
    Font* serif15 = cache.acquire(FREESERIF_PATH, 15);
    Font* sans14 = cache.acquire(FREESANS_PATH, 14);
    EXPECT_NE(serif14, serif15);
    EXPECT_NE(serif14, sans14);
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_EQ(serif15->pixelSize(), 15);
    EXPECT_STREQ(sans14->fileName(), FREESANS_PATH);
    cache.release(serif14);
    cache.release(serif15);
    cache.release(sans14);
}

TEST_F(FontCacheTest, ThirtyThirdDistinctFontIsRefused) {
    for (int size = 6; size < 6 + 32; ++size)
        cache.acquire(FREESERIF_PATH, size);
    EXPECT_EQ(cache.size(), 32u);
    EXPECT_EQ(FreeTypeLoadCount(), 32);
    EXPECT_EQ(AcquireError(cache, FREESERIF_PATH, 38), "Too much fonts used simultaneously!\n");
    EXPECT_EQ(cache.size(), 32u);
    EXPECT_EQ(FreeTypeLoadCount(), 32);
    for (unsigned i = 0; i < 32; ++i) {
        ASSERT_NE(cache.entry(i), nullptr);
        EXPECT_EQ(cache.entry(i)->pixelSize(), 6 + (int)i);
        EXPECT_EQ(cache.references(i), 1);
    }
    // A font already cached is still shared while the cache is full.
    Font* again = cache.acquire(FREESERIF_PATH, 20);
    EXPECT_EQ(again, cache.entry(14));
    EXPECT_EQ(cache.references(14), 2);
}

TEST_F(FontCacheTest, ReleasingFromTheMiddleMovesTheLastEntryIntoItsSlot) {
    Font* a = cache.acquire(FREESERIF_PATH, 10);
    Font* b = cache.acquire(FREESERIF_PATH, 11);
    Font* c = cache.acquire(FREESERIF_PATH, 12);
    cache.acquire(FREESERIF_PATH, 12); // c held twice
    cache.release(b);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.entry(0), a);
    EXPECT_EQ(cache.entry(1), c);
    EXPECT_EQ(cache.references(1), 2);
    EXPECT_EQ(cache.entry(2), nullptr);
    EXPECT_EQ(cache.references(2), 0);
    EXPECT_EQ(FreeTypeLoadCount(), 2);

    EXPECT_EQ(cache.acquire(FREESERIF_PATH, 12), c);
    EXPECT_EQ(cache.references(1), 3);
    EXPECT_EQ(FreeTypeLoadCount(), 2);
}

TEST_F(FontCacheTest, FailedLoadLeavesTheCacheUnchanged) {
    Font* kept = cache.acquire(FREESERIF_PATH, 14);
    ScratchDir dir;
    std::string missing = dir.file("absent.ttf");
    EXPECT_EQ(AcquireError(cache, missing.c_str(), 14), "Error 1 during opening of font " + missing + "!\n");
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.entry(0), kept);
    EXPECT_EQ(cache.entry(1), nullptr);
    EXPECT_EQ(FreeTypeLoadCount(), 1);
}

TEST_F(FontCacheTest, ReleaseIgnoresNullAndForeignFonts) {
    Font* cached = cache.acquire(FREESERIF_PATH, 14);
    Font outsider(FREESERIF_PATH, 14);
    cache.release(nullptr);
    cache.release(&outsider);
    EXPECT_EQ(cache.size(), 1u);
    EXPECT_EQ(cache.entry(0), cached);
    EXPECT_EQ(cache.references(0), 1);
}

TEST_F(FontCacheTest, LastUserGoingDestroysEveryCachedFont) {
    cache.addUser();
    cache.acquire(FREESERIF_PATH, 14);
    cache.acquire(FREESANS_PATH, 14);
    cache.removeUser(); // one user left: fonts stay
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(FreeTypeLoadCount(), 2);
    cache.removeUser();
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.entry(0), nullptr);
    EXPECT_EQ(FreeTypeLoadCount(), 0);
    EXPECT_FALSE(FreeTypeLibraryHeld());
    cache.addUser(); // for TearDown
}

TEST(FontCacheUsers, FirstUserFindsAnEmptyCache) {
    GLContext ctx;
    FontCache& cache = FontCache::Instance();
    ASSERT_EQ(cache.userCount(), 0);
    // A font taken while nobody uses the cache does not outlive the reset.
    cache.acquire(FREESERIF_PATH, 14);
    EXPECT_EQ(cache.size(), 1u);
    cache.addUser();
    EXPECT_EQ(cache.userCount(), 1);
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_EQ(cache.entry(0), nullptr);
    EXPECT_EQ(FreeTypeLoadCount(), 0);
    cache.removeUser();
    EXPECT_EQ(cache.userCount(), 0);
}

TEST(FontCacheUsers, RemovingMoreUsersThanAddedIsHarmless) {
    GLContext ctx;
    FontCache& cache = FontCache::Instance();
    ASSERT_EQ(cache.userCount(), 0);
    cache.removeUser();
    EXPECT_EQ(cache.userCount(), 0);
    cache.addUser();
    EXPECT_EQ(cache.userCount(), 1);
    cache.removeUser();
    EXPECT_EQ(cache.userCount(), 0);
}
