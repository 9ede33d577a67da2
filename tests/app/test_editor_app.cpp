// EditorApp: accessors, the preview switch, the volume and its settings file,
// and the host's image list with its memory estimate.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include "editor_fixture.h"
#include "timeline.h"

TEST(EditorApp, NewApplicationStartsEmptyAtVolume100) {
    EditorFixture f;
    EditorApp& app = f.app();
    EXPECT_EQ(app.demo, nullptr);
    EXPECT_FALSE(app.demoLoaded);
    EXPECT_FALSE(app.fullScreenPreview);
    EXPECT_EQ(app.volume, 100u);
    EXPECT_EQ(app.imageMemory, 0u);
    EXPECT_FALSE(app.music.playing);
    EXPECT_EQ(app.music.position, 0u);
    EXPECT_EQ(app.music.Music(), nullptr);
    EXPECT_FALSE(app.music.HasMusic());
    EXPECT_EQ(&AppMusic(), &app.music);
    EXPECT_EQ(&AppEditorScreen(), &app.editorScreen);
    EXPECT_EQ(app.editorScreen.quitKey, 291);
    EXPECT_EQ(app.previewScreen.quitKey, 291);
}

TEST(EditorApp, ActiveScreenFollowsTheFullScreenPreviewFlag) {
    EditorFixture f;
    EXPECT_EQ(&AppActiveScreen(), &f.app().editorScreen);
    ShowFullScreenPreview(1, 2, 1);
    EXPECT_TRUE(IsFullScreenPreview());
    EXPECT_EQ(&AppActiveScreen(), &f.app().previewScreen);
    ShowEditor(1, 2, 1);
    EXPECT_FALSE(IsFullScreenPreview());
    SetFullScreenPreview(true);
    EXPECT_EQ(&AppActiveScreen(), &f.app().previewScreen);
}

TEST(EditorApp, PreviewScreenIsOneWindowSizedWidgetThatReturnsToTheEditor) {
    EditorFixture f;
    GuiScreen& preview = f.app().previewScreen;
    ASSERT_EQ(preview.childCount(), 2); // the widget, then the motion path overlay
    EXPECT_NE(dynamic_cast<PathOverlay*>(preview.childAt(1)), nullptr);
    Widget* all = preview.childAt(0);
    EXPECT_EQ(all->x, 0);
    EXPECT_EQ(all->y, 0);
    EXPECT_EQ(all->w, 640);
    EXPECT_EQ(all->h, 480);
    SetFullScreenPreview(true);
    EXPECT_TRUE(preview.click(600, 400, 3));
    EXPECT_FALSE(IsFullScreenPreview());
}

TEST(EditorApp, SetVolumeCapsAt128) {
    EditorFixture f;
    f.app().SetVolume(200);
    EXPECT_EQ(f.app().GetVolume(), 128u);
    f.app().SetVolume(0);
    EXPECT_EQ(f.app().GetVolume(), 0u);
    f.app().SetVolume(77);
    EXPECT_EQ(f.app().GetVolume(), 77u);
}

TEST(EditorApp, SettingsRoundTripAndAreReadWithoutTheLimit) {
    EditorFixture f;
    f.app().SetVolume(42);
    f.app().WriteSettings("Trellic.cnfg");
    EXPECT_EQ(f.dir.Read("Trellic.cnfg"), "Volume 42");
    f.dir.Write("Trellic.cnfg", "Volume 300");
    f.app().ReadSettings("Trellic.cnfg");
    EXPECT_EQ(f.app().GetVolume(), 300u);
    f.app().SetVolume(f.app().GetVolume());
    EXPECT_EQ(f.app().GetVolume(), 128u);
}

TEST(EditorApp, MissingOrUnreadableSettingsKeepTheVolume) {
    EditorFixture f;
    f.app().SetVolume(55);
    f.app().ReadSettings("Trellic.cnfg");
    EXPECT_EQ(f.app().GetVolume(), 55u);
    f.dir.Write("Trellic.cnfg", "Loudness 3");
    f.app().ReadSettings("Trellic.cnfg");
    EXPECT_EQ(f.app().GetVolume(), 55u);
}

namespace {
void WriteBmp(const std::string& path, int w, int h) {
    SDL_Surface* s = SDL_CreateRGBSurface(0, w, h, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    ASSERT_NE(s, nullptr);
    ASSERT_EQ(SDL_SaveBMP(s, path.c_str()), 0);
    SDL_FreeSurface(s);
}
} // namespace

TEST(EditorApp, ImageListKindsAndPaths) {
    EditorFixture f;
    WriteBmp(f.dir.file("a.bmp"), 4, 2);
    WriteBmp(f.dir.file("b.bmp"), 3, 3);
    f.dir.Write("ImageList.txt", "a.bmp 0\nb.bmp 1\nmissing.bmp 0\nnone.bmp 5\n");
    f.app().ReadImageList("ImageList.txt");
    ASSERT_EQ(f.app().ImageCount(), 4u);
    EXPECT_STREQ(f.app().ImagePath(0), "a.bmp");
    EXPECT_EQ(f.app().ImageKind(0), 2u);
    EXPECT_EQ(f.app().ImageKind(1), 3u);
    EXPECT_EQ(f.app().ImageKind(2), 0u);
    EXPECT_EQ(f.app().ImageKind(3), 1u);
    EXPECT_STREQ(f.app().ImagePath(4), "Image number is too high!");
    EXPECT_EQ(f.app().ImageKind(4), 0u);
    // 4 x 2 x 4 bytes, plus the complex 3 x 3 image counted twice.
    EXPECT_EQ(f.app().ImageMemoryEstimate(), 4u * 2 * 4 + 2u * 3 * 3 * 4);
    EXPECT_EQ(f.app().imageMemory, 104u);
}

TEST(EditorApp, ImageListKeepsAt128Entries) {
    EditorFixture f;
    std::string list;
    for (int i = 0; i < 130; i++)
        list += "img" + std::to_string(i) + ".bmp 0\n";
    f.dir.Write("ImageList.txt", list);
    f.app().ReadImageList("ImageList.txt");
    EXPECT_EQ(f.app().ImageCount(), 128u);
    EXPECT_STREQ(f.app().ImagePath(127), "img127.bmp");
}

TEST(EditorApp, OverlongImagePathIsCutAndKeepsItsIndex) {
    EditorFixture f;
    std::string longPath(300, 'p');
    f.dir.Write("ImageList.txt", longPath + " 1\nnext.bmp 0\n");
    f.app().ReadImageList("ImageList.txt");
    ASSERT_EQ(f.app().ImageCount(), 2u);
    EXPECT_EQ(std::string(f.app().ImagePath(0)), std::string(127, 'p'));
    EXPECT_EQ(f.app().ImageKind(0), 1u);
    EXPECT_STREQ(f.app().ImagePath(1), "next.bmp");
}

TEST(EditorApp, ImageListStopsAtAnEntryWithoutFlagAndMissingListIsEmpty) {
    EditorFixture f;
    f.dir.Write("ImageList.txt", "a.bmp 0\nb.bmp x\nc.bmp 0\n");
    f.app().ReadImageList("ImageList.txt");
    EXPECT_EQ(f.app().ImageCount(), 1u);
    f.app().ReadImageList("NoSuchList.txt");
    EXPECT_EQ(f.app().ImageCount(), 0u);
    EXPECT_EQ(f.app().ImageMemoryEstimate(), 0u);
}
