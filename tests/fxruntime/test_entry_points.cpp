// The plug-in's entry points: Vorlen_Init's driver checks, image list, repeated
// initialisation and failures, seen through the built libFenk.so where a user
// would see them, and through the runtime's own tables where counts matter.
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>

#include <GL/glew.h>
#include <gtest/gtest.h>

#include "demo_builder.h"
#include "engine.h"
#include "fenk_plugin.h"
#include "fxruntime_internal.h"
#include "gl_context.h"
#include "oglstate.h"
#include "scratch_dir.h"
#include "test_images.h"

namespace {
const uint32_t kRed = 0xFFFF0000, kBlue = 0xFF0000FF, kGreen = 0xFF00FF00, kBlack = 0xFF000000;

std::string MessageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const BasicException& e) {
        return e.GetMessage();
    }
    return "(no exception)";
}

class PluginTest : public ::testing::Test {
  protected:
    GLContext gl{800, 600};
    ScratchDir dir{true};
    FenkPlugin fenk;
    void SetUp() override {
        ASSERT_TRUE(fenk.loaded());
        SaveSolidBmp("red.bmp", 20, 20, 0xFF0000);
        SaveSolidBmp("blue.bmp", 20, 20, 0x0000FF);
        SaveSolidBmp("green.bmp", 20, 20, 0x00FF00);
    }
    // The colour an image number shows at the view's centre.
    uint32_t CentreOf(int image) {
        GLContext::ClearTo(0, 0, 0, 1);
        fenk.Call("Image", {image, 4000, 3000, 1000, 256});
        return gl.Pixel(400, 300);
    }
    std::string InitMessage() {
        return MessageOf([this] { fenk.Init(); });
    }
};

// The runtime linked into this test, for what the plug-in does not export.
class RuntimeTest : public ::testing::Test {
  protected:
    GLContext gl{800, 600};
    ScratchDir dir{true};
    void SetUp() override { ReleaseTextures(); }
    void TearDown() override { ReleaseTextures(); }
};
} // namespace

TEST_F(PluginTest, InitLoadsImagesAsNumbersInFileOrder) {
    WriteFenkData("red.bmp 0\nblue.bmp 1\n");
    EXPECT_EQ(fenk.Init(), 1);
    EXPECT_EQ(CentreOf(0), kRed);
    EXPECT_EQ(CentreOf(1), kBlue);
}

TEST_F(PluginTest, InitClearsTheScreen) {
    WriteFenkData("red.bmp 0\n");
    GLContext::ClearTo(1, 1, 0, 1);
    glClearColor(0, 0, 0, 1);
    fenk.Init();
    EXPECT_EQ(gl.Pixel(10, 10), kBlack);
}

TEST_F(PluginTest, MissingImageListRefusesToStart) {
    WriteFenkData("");
    remove("ImageList.txt");
    EXPECT_EQ(InitMessage(), "Couldn't open the ImageList, which would cause one very boring demo :(");
}

TEST_F(PluginTest, ImageThatFailsNamesItsPath) {
    WriteFenkData("red.bmp 0\nmissing.bmp 0\nblue.bmp 0\n");
    EXPECT_EQ(InitMessage(), "Could not load image missing.bmp !");
    EXPECT_EQ(CentreOf(0), kRed); // nothing is undone
    EXPECT_EQ(CentreOf(1), kBlack);
}

TEST_F(PluginTest, OverlongImagePathIsRejectedWithAClearMessage) {
    WriteFenkData(std::string(256, 'i') + ".bmp 0\n");
    EXPECT_EQ(InitMessage().rfind("ImageList.txt: a path is longer than 255 characters: iii", 0), 0u);
}

TEST_F(PluginTest, EmptyImageListStartsWithNoImages) {
    WriteFenkData("");
    EXPECT_EQ(fenk.Init(), 1);
}

TEST_F(PluginTest, AnimationListErrorPassesOutUnchanged) {
    WriteFenkData("red.bmp 0\n");
    dir.Write("AnimList.txt", "BEGIN red.bmp 10 gone.bmp 10 END");
    EXPECT_EQ(InitMessage(), "IMG_Load couldn't load the file gone.bmp");
}

TEST_F(PluginTest, BigFontErrorPassesOutUnchanged) {
    WriteFenkData("red.bmp 0\n");
    remove("BigFont.txt");
    EXPECT_EQ(InitMessage(), "An error occurred while loading the big font!");
}

TEST_F(PluginTest, RepeatedInitialisationKeepsImageNumbers) {
    WriteFenkData("red.bmp 0\nblue.bmp 0\n");
    ASSERT_EQ(fenk.Init(), 1);
    // Slots 2 and 3 now hold the font image and the glyph image.
    WriteFenkData("green.bmp 0\nblue.bmp 0\nred.bmp 0\n");
    ASSERT_EQ(fenk.Init(), 1);
    EXPECT_EQ(CentreOf(0), kRed);
    EXPECT_EQ(CentreOf(1), kBlue);
    EXPECT_EQ(CentreOf(4), kGreen);
}

TEST_F(PluginTest, InitAfterQuitStartsAgainFromEmptyTables) {
    WriteFenkData("red.bmp 0\n");
    ASSERT_EQ(fenk.Init(), 1);
    EXPECT_EQ(fenk.Quit(), 1);
    EXPECT_EQ(OGLState::GetState(), nullptr); // Vorlen_Quit detaches the record
    OGLState::SetStateForce(gl.state());
    EXPECT_EQ(CentreOf(0), kBlack);
    WriteFenkData("blue.bmp 0\n");
    ASSERT_EQ(fenk.Init(), 1);
    EXPECT_EQ(CentreOf(0), kBlue);
    GLContext::ClearTo(0, 0, 0, 1);
    fenk.Call("PrintNr", {7, 0, 0});
    EXPECT_EQ(gl.Pixel(8, 8), 0xFF000000 | CellColour('7' - 32));
}

TEST_F(PluginTest, BeginNewFrameAndQuitReturnOne) {
    WriteFenkData("");
    ASSERT_EQ(fenk.Init(), 1);
    auto begin = fenk.Get<VorlenBeginNewFrameProc>("Vorlen_BeginNewFrame");
    ASSERT_NE(begin, nullptr);
    EXPECT_EQ(begin(0), 1);
    EXPECT_EQ(begin(-5), 1);
    EXPECT_EQ(fenk.Quit(), 1);
    OGLState::SetStateForce(gl.state());
}

TEST_F(PluginTest, MissingFramebufferExtensionsRefuseToStartFirst) {
    WriteFenkData("red.bmp 0\n");
    GLboolean arb = __GLEW_ARB_framebuffer_object, ext = __GLEW_EXT_framebuffer_object;
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check = __glewCheckFramebufferStatus;
    // GLEW's flags live in the shared libGLEW the plug-in uses too.
    __GLEW_ARB_framebuffer_object = GL_FALSE;
    __GLEW_EXT_framebuffer_object = GL_FALSE;
    __glewCheckFramebufferStatus = [](GLenum) -> GLenum { return GL_FRAMEBUFFER_UNSUPPORTED; };
    std::string message = InitMessage();
    __GLEW_ARB_framebuffer_object = arb;
    __GLEW_EXT_framebuffer_object = ext;
    __glewCheckFramebufferStatus = check;
    EXPECT_EQ(message, "Your videocard doesn't support some of the required extensions :(");
}

TEST_F(PluginTest, IncompleteFramebufferRefusesToStartWithThePixelformatMessage) {
    WriteFenkData("red.bmp 0\n");
    PFNGLCHECKFRAMEBUFFERSTATUSPROC check = __glewCheckFramebufferStatus;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC checkExt = __glewCheckFramebufferStatusEXT;
    __glewCheckFramebufferStatus = [](GLenum) -> GLenum { return GL_FRAMEBUFFER_UNSUPPORTED; };
    __glewCheckFramebufferStatusEXT = [](GLenum) -> GLenum { return GL_FRAMEBUFFER_UNSUPPORTED_EXT; };
    std::string message = InitMessage();
    __glewCheckFramebufferStatus = check;
    __glewCheckFramebufferStatusEXT = checkExt;
    EXPECT_EQ(message,
              "You videocard seems to support the right extensions, but not the right pixelformat :(");
    EXPECT_EQ(CentreOf(0), kBlack); // no image was loaded
}

TEST_F(PluginTest, HostCatchesTheInitErrorAsBasicException) {
    WriteFenkData("");
    remove("ImageList.txt");
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, FenkPlugin::Path(), {{"Image", {"image", "x", "y", "size", "opacity"}}});
    ASSERT_EQ(BindLibraries(demo), 0);
    try {
        InitLibraries(demo);
        ADD_FAILURE() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.GetMessage(),
                     "Couldn't open the ImageList, which would cause one very boring demo :(");
    }
    ReleaseDemo(demo);
}

TEST_F(PluginTest, HostBindsAndInitialisesTheLibrary) {
    WriteFenkData("red.bmp 0\n");
    DemoStruct demo = EmptyDemo();
    AddLibrary(demo, FenkPlugin::Path(), {{"Image", {}}, {"Clear", {}}, {"ShowFPS", {}}});
    ASSERT_EQ(BindLibraries(demo), 0);
    EXPECT_EQ(InitLibraries(demo), 0);
    ReleaseDemo(demo);
}

TEST(Exports, EntryPointsAndEffectsAreExportedAndNothingInternal) {
    FenkPlugin fenk;
    for (const char* name :
         {"Vorlen_Init", "Vorlen_BeginNewFrame", "Vorlen_Quit", "Vorlen_SetRenderTime", "Clear", "BackgroundColor", "Background",
          "BackgroundFade", "DebugGrid", "Image", "Animate", "PrintNr", "ShowFPS", "DisplayText",
          "_Z8ImageAbslllll", "_Z10PrintNrAbsldd", "_Z14DisplayTextAbsddddllllll"})
        EXPECT_NE(fenk.Find(name), nullptr) << name;
    for (const char* name : {"ImageAbs", "PrintNrAbs", "DisplayTextAbs", "_Z21CreateTextureFromFilePKcb",
                             "_Z10GetTexturei", "_Z11DrawBigTextiiPKci", "_Z13ScrambleFirsti",
                             "_ZN4FontC1EPKci", "_Z12LoadAnimListv", "_Z12LoadTextListv"})
        EXPECT_EQ(fenk.Find(name), nullptr) << name;
}

TEST(DriverSupport, ExtensionsAreCheckedBeforeThePixelformat) {
    EXPECT_EQ(MessageOf([] {
                  CheckDriverSupport({false, false});
              }),
              "Your videocard doesn't support some of the required extensions :(");
    EXPECT_EQ(MessageOf([] {
                  CheckDriverSupport({true, false});
              }),
              "You videocard seems to support the right extensions, but not the right pixelformat :(");
    EXPECT_EQ(MessageOf([] { CheckDriverSupport({true, true}); }), "(no exception)");
}

// GLEW reports "no GLX display" after loading every entry point when the
// context is EGL's: only then is that result usable.
TEST(DriverSupport, GlewWithoutGlxIsUsableOnlyWithAnEglContext) {
    EXPECT_TRUE(GlewInitUsable(GLEW_OK, false));
    EXPECT_TRUE(GlewInitUsable(GLEW_OK, true));
    EXPECT_TRUE(GlewInitUsable(GLEW_ERROR_NO_GLX_DISPLAY, true));
    EXPECT_FALSE(GlewInitUsable(GLEW_ERROR_NO_GLX_DISPLAY, false));
    EXPECT_FALSE(GlewInitUsable(GLEW_ERROR_NO_GL_VERSION, true));
    EXPECT_FALSE(GlewInitUsable(GLEW_ERROR_GL_VERSION_10_ONLY, true));
}

TEST_F(RuntimeTest, ThisDriverOffersACompleteFramebufferAndTheBindingIsRestored) {
    DriverSupport support = QueryDriverSupport();
    EXPECT_TRUE(support.framebufferExtension);
    EXPECT_TRUE(support.framebufferComplete);
    GLint binding = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &binding);
    EXPECT_EQ(binding, 0);
    EXPECT_EQ(gl.state()->values().textureUsed, 0u);
}

TEST_F(RuntimeTest, FirstEntryWithoutItsFlagLoadsNoImages) {
    SaveSolidBmp("a.bmp", 2, 2, 0xFF0000);
    dir.Write("ImageList.txt", "a.bmp\n");
    LoadImageList();
    EXPECT_EQ(TextureCount(), 0);
    dir.Write("ImageList.txt", "a.bmp yes\na.bmp 0\n");
    LoadImageList();
    EXPECT_EQ(TextureCount(), 0);
}

TEST_F(RuntimeTest, AnyNonzeroFlagRetainsTheImage) {
    SaveSolidBmp("a.bmp", 2, 2, 0xFF0000);
    SaveSolidBmp("b.bmp", 2, 2, 0x00FF00);
    SaveSolidBmp("c.bmp", 2, 2, 0x0000FF);
    dir.Write("ImageList.txt", "a.bmp -1 b.bmp 0 c.bmp 7");
    LoadImageList();
    EXPECT_NE(GetTexture(0).surface, nullptr);
    EXPECT_EQ(GetTexture(1).surface, nullptr);
    EXPECT_NE(GetTexture(2).surface, nullptr);
}

TEST_F(RuntimeTest, RepeatedPathKeepsItsIndexAndMayBecomeComplex) {
    SaveSolidBmp("a.bmp", 2, 2, 0xFF0000);
    SaveSolidBmp("b.bmp", 2, 2, 0x00FF00);
    dir.Write("ImageList.txt", "a.bmp 0 b.bmp 0 a.bmp 1");
    LoadImageList();
    EXPECT_EQ(TextureCount(), 2);
    EXPECT_NE(GetTexture(0).surface, nullptr);
    LoadImageList();
    EXPECT_EQ(TextureCount(), 2);
}

TEST_F(RuntimeTest, The513thDistinctImageRaisesNamingItsPath) {
    SaveSolidBmp("one.bmp", 1, 1, 0xFFFFFF);
    std::ofstream list("ImageList.txt");
    for (int i = 0; i < 513; i++) {
        std::string name = "p" + std::to_string(i) + ".bmp";
        // Hard links: 513 names for one small file.
        ASSERT_EQ(link("one.bmp", name.c_str()), 0);
        list << name << " 0\n";
    }
    list.close();
    EXPECT_EQ(MessageOf([] { LoadImageList(); }), "Could not load image p512.bmp !");
    EXPECT_EQ(TextureCount(), 512);
}
