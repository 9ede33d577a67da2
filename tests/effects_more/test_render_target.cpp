// The off-screen render target in a real GL context: sizes and extents, the
// state it makes current and applies, what End gives back to the window, the
// orientation of what was drawn, and repeated use in one frame.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "effects.h"
#include "fxruntime_internal.h"
#include "gl_context.h"
#include "oglstate.h"
#include "render_target.h"

namespace {

const uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kGreen = 0xFF00FF00u;

class RenderTargetTest : public ::testing::Test {
  protected:
    GLContext gl{640, 480};
    void SetUp() override {
        DestroyRenderTarget();
        ReleaseTextures();
    }
    void TearDown() override {
        DestroyRenderTarget();
        ReleaseTextures();
    }
};

GLint TextureLevelSize(GLuint texture, GLenum which) {
    GLint value = -1, previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, which, &value);
    glBindTexture(GL_TEXTURE_2D, (GLuint)previous);
    return value;
}

// Texels as 0xAARRGGBB, rows in texture order (t = 0 first).
std::vector<uint32_t> Texels(GLuint texture, int width, int height) {
    std::vector<uint32_t> texels((size_t)width * height);
    GLint previous = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &previous);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_BGRA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, (GLuint)previous);
    return texels;
}

std::vector<double> Matrix(GLenum which) {
    std::vector<double> m(16);
    glGetDoublev(which, m.data());
    return m;
}

// A 64 x 64 image, top half red and bottom half blue, in the texture table.
int HalvesImage() {
    std::vector<uint32_t> pixels(64 * 64);
    for (int y = 0; y < 64; y++)
        for (int x = 0; x < 64; x++)
            pixels[y * 64 + x] = y < 32 ? kRed : kBlue;
    return CreateTextureFromMem(pixels.data(), 64, 64, false);
}

// The halves image rendered into `slot`, drawn on the window with the effect
// quads: a 256 x 256 quad centred on (320, 240), image rows 208..271, upright.
void ExpectHalvesUprightOnWindow(GLContext& gl, const TextureEntry& slot) {
    GLContext::ClearTo(0, 0, 0, 1);
    glPushMatrix();
    DrawTextureQuad(slot, 1000, 256);
    glPopMatrix();
    EXPECT_EQ(gl.Pixel(320, 215), kRed);
    EXPECT_EQ(gl.Pixel(320, 265), kBlue);
}

// A driver with only the EXT framebuffer calls.
class ExtOnlyRenderTargetTest : public RenderTargetTest {
  protected:
    void SetUp() override {
        LimitFramebufferSet(FramebufferSet::Ext);
        RenderTargetTest::SetUp();
    }
    void TearDown() override {
        RenderTargetTest::TearDown();
        LimitFramebufferSet(FramebufferSet::Core);
    }
};

} // namespace

TEST_F(RenderTargetTest, TargetOf300x200HasA512x256BufferExactExtentsAndViewport) {
    ASSERT_TRUE(CreateRenderTarget(300, 200));
    const RenderTarget& t = GetRenderTarget();
    EXPECT_TRUE(t.exists);
    EXPECT_EQ(t.paddedWidth, 512);
    EXPECT_EQ(t.paddedHeight, 256);
    EXPECT_EQ(t.slot.width, 300);
    EXPECT_EQ(t.slot.height, 200);
    EXPECT_EQ(t.slot.sExtent, 0.5859375f);
    EXPECT_EQ(t.slot.tExtent, 0.78125f);
    EXPECT_STREQ(t.slot.name, "RenderToTexture");
    EXPECT_EQ(TextureLevelSize(t.slot.texture, GL_TEXTURE_WIDTH), 512);
    EXPECT_EQ(TextureLevelSize(t.slot.texture, GL_TEXTURE_HEIGHT), 256);
    ASSERT_NE(t.state, nullptr);
    EXPECT_EQ(t.state->values().viewport[2], 512); // the record is made at the padded size

    BeginRenderToTexture();
    EXPECT_EQ(OGLState::GetViewWidth(), 300.0);
    EXPECT_EQ(OGLState::GetViewHeight(), 200.0);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[1], 0);
    EXPECT_EQ(viewport[2], 300);
    EXPECT_EQ(viewport[3], 200);
    const OGLState::Projection& p = OGLState::GetState()->values().projection;
    EXPECT_EQ(p.left, -150.0);
    EXPECT_EQ(p.right, 150.0);
    EXPECT_EQ(p.bottom, -100.0); // y points up in the target
    EXPECT_EQ(p.top, 100.0);
    EXPECT_EQ(p.zNear, 1.0);
    EXPECT_EQ(p.zFar, 100.0);
    EXPECT_FALSE(p.orthographic);
    EndRenderToTexture();
}

TEST_F(RenderTargetTest, SecondCreateOfTheSameSizeReturnsFalseAndChangesNothing) {
    ASSERT_TRUE(CreateRenderTarget(1024, 1024));
    GLuint texture = GetRenderTarget().slot.texture;
    unsigned framebuffer = GetRenderTarget().framebuffer;
    EXPECT_FALSE(CreateRenderTarget(1024, 1024));
    EXPECT_EQ(GetRenderTarget().slot.texture, texture);
    EXPECT_EQ(GetRenderTarget().framebuffer, framebuffer);
    EXPECT_TRUE(GetRenderTarget().exists);
}

TEST_F(RenderTargetTest, CreateWithAnotherSizeRemakesTheTarget) {
    ASSERT_TRUE(CreateRenderTarget(64, 64));
    ASSERT_TRUE(CreateRenderTarget(100, 30));
    EXPECT_EQ(GetRenderTarget().paddedWidth, 128);
    EXPECT_EQ(GetRenderTarget().paddedHeight, 32);
    EXPECT_EQ(TextureLevelSize(GetRenderTarget().slot.texture, GL_TEXTURE_WIDTH), 128);
}

TEST_F(RenderTargetTest, SizesOfOneOrLessGiveOnePixelAndHugeSizesAreRefused) {
    ASSERT_TRUE(CreateRenderTarget(0, -5));
    EXPECT_EQ(GetRenderTarget().paddedWidth, 1);
    EXPECT_EQ(GetRenderTarget().paddedHeight, 1);
    EXPECT_FALSE(CreateRenderTarget(INT_MAX, 16));
    EXPECT_FALSE(GetRenderTarget().exists);
    // Without a target, Begin and End change nothing.
    OGLState* window = OGLState::GetState();
    BeginRenderToTexture();
    EXPECT_EQ(OGLState::GetState(), window);
    EXPECT_EQ(EndRenderToTexture().texture, 0u);
    EXPECT_EQ(OGLState::GetState(), window);
}

TEST_F(RenderTargetTest, BeginAppliesTheTargetRecordAndEndAppliesTheWindowRecord) {
    ASSERT_TRUE(CreateRenderTarget(256, 256));
    OGLState* window = OGLState::GetState();
    OGLState::PushBlend(true);
    OGLState::PushDepth(true);
    BeginRenderToTexture();
    EXPECT_EQ(OGLState::GetState(), GetRenderTarget().state);
    EXPECT_FALSE(glIsEnabled(GL_BLEND)); // a fresh record: blending and depth off
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    OGLState::PushTexture2D(true); // left pushed on the target's record
    EndRenderToTexture();
    EXPECT_EQ(OGLState::GetState(), window);
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    BeginRenderToTexture();
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D)); // the target's record is applied again
    OGLState::PopTexture2D();
    EndRenderToTexture();
    OGLState::PopDepth();
    OGLState::PopBlend();
}

TEST_F(RenderTargetTest, EndRestoresTheWindowsFramebufferViewportAndMatrices) {
    ASSERT_TRUE(CreateRenderTarget(300, 200));
    // The window's own drawing goes to a framebuffer of its own here, to show
    // that End returns to whatever was bound rather than to 0.
    GLuint windowFbo = 0, windowColour = 0;
    glGenFramebuffers(1, &windowFbo);
    glGenRenderbuffers(1, &windowColour);
    glBindRenderbuffer(GL_RENDERBUFFER, windowColour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, 640, 480);
    glBindFramebuffer(GL_FRAMEBUFFER, windowFbo);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, windowColour);

    OGLState::PushViewport(10, 20, 320, 240);
    OGLState::PushProjection(-160, 160, 120, -120, 1, 100, false);
    glTranslatef(5, 6, 0);
    std::vector<double> projection = Matrix(GL_PROJECTION_MATRIX), modelview = Matrix(GL_MODELVIEW_MATRIX);

    BeginRenderToTexture();
    GLint bound = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ((unsigned)bound, GetRenderTarget().framebuffer);
    std::vector<double> identity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), identity);
    EndRenderToTexture();

    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ((GLuint)bound, windowFbo);
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ((GLuint)bound, windowFbo);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 10);
    EXPECT_EQ(viewport[1], 20);
    EXPECT_EQ(viewport[2], 320);
    EXPECT_EQ(viewport[3], 240);
    EXPECT_EQ(OGLState::GetViewWidth(), 320.0);
    EXPECT_EQ(Matrix(GL_PROJECTION_MATRIX), projection);
    EXPECT_EQ(Matrix(GL_MODELVIEW_MATRIX), modelview);
    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);

    glLoadIdentity();
    OGLState::PopProjection();
    OGLState::PopViewport();
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &windowFbo);
    glDeleteRenderbuffers(1, &windowColour);
}

TEST_F(RenderTargetTest, ImageDrawnIntoTheTargetComesBackWithItsTopAtTZero) {
    int image = HalvesImage();
    ASSERT_TRUE(CreateRenderTarget(256, 256));
    BeginRenderToTexture();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawTextureQuad(GetTexture(image), 1000, 256);
    const TextureEntry& slot = EndRenderToTexture();
    std::vector<uint32_t> texels = Texels(slot.texture, 256, 256);
    // The 64 x 64 image covers texels 96..159 each way; t grows with the row.
    EXPECT_EQ(texels[100 * 256 + 128], kRed);
    EXPECT_EQ(texels[155 * 256 + 128], kBlue);
    EXPECT_EQ(texels[90 * 256 + 128], 0u);
    EXPECT_EQ(texels[165 * 256 + 128], 0u);

    // Drawn on the window with the effect quads, the picture is upright.
    ExpectHalvesUprightOnWindow(gl, slot);
}

TEST_F(RenderTargetTest, TwoBeginEndPairsInOneFrame) {
    ASSERT_TRUE(CreateRenderTarget(64, 64));
    GLContext::ClearTo(0, 0, 0, 1);
    BeginRenderToTexture();
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const TextureEntry& first = EndRenderToTexture();
    EXPECT_TRUE(GetRenderTarget().bound);
    EXPECT_EQ(Texels(first.texture, 64, 64)[0], kRed);
    DrawTextureQuad(first, 1000, 256); // 64 x 64 at the window's centre
    EXPECT_EQ(gl.Pixel(320, 240), kRed);

    BeginRenderToTexture();
    EXPECT_FALSE(GetRenderTarget().bound);
    glClearColor(0, 1, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    const TextureEntry& second = EndRenderToTexture();
    EXPECT_EQ(Texels(second.texture, 64, 64)[0], kGreen);
    // The window kept the first picture and its own clear colour.
    EXPECT_EQ(gl.Pixel(320, 240), kRed);
    EXPECT_EQ(gl.Pixel(10, 10), 0xFF000000u);
    GLfloat clear[4];
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[1], 0.0f);
}

TEST_F(RenderTargetTest, DestroyReleasesEverythingAndAllowsANewTarget) {
    ASSERT_TRUE(CreateRenderTarget(128, 128));
    BeginRenderToTexture();
    DestroyRenderTarget(); // while drawing: drawing returns to the window first
    EXPECT_FALSE(GetRenderTarget().exists);
    EXPECT_EQ(GetRenderTarget().slot.texture, 0u);
    EXPECT_EQ(GetRenderTarget().state, nullptr);
    EXPECT_EQ(OGLState::GetState(), gl.state());
    GLint bound = -1;
    glGetIntegerv(GL_DRAW_FRAMEBUFFER_BINDING, &bound);
    EXPECT_EQ(bound, 0);
    EXPECT_TRUE(CreateRenderTarget(128, 128));
}

// [SECTION] The framebuffer calls the driver has

TEST_F(RenderTargetTest, ThisDriverGivesTheCoreCalls) {
    ASSERT_TRUE(CreateRenderTarget(64, 64));
    EXPECT_EQ(GetRenderTarget().calls.set, FramebufferSet::Core);
}

TEST_F(ExtOnlyRenderTargetTest, StartUpAcceptsTheDriverAndTheTargetDrawsWithTheExtCalls) {
    DriverSupport support = QueryDriverSupport();
    EXPECT_TRUE(support.framebufferExtension);
    EXPECT_TRUE(support.framebufferComplete);

    // The window's drawing goes to a framebuffer of its own, made with the EXT calls.
    GLuint windowFbo = 0, windowColour = 0;
    glGenFramebuffersEXT(1, &windowFbo);
    glGenRenderbuffersEXT(1, &windowColour);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, windowColour);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, GL_RGBA8, 640, 480);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, windowFbo);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_RENDERBUFFER_EXT, windowColour);

    int image = HalvesImage();
    ASSERT_TRUE(CreateRenderTarget(256, 256));
    EXPECT_EQ(GetRenderTarget().calls.set, FramebufferSet::Ext);
    GLint bound = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ((GLuint)bound, windowFbo); // making the target left the window's binding alone
    BeginRenderToTexture();
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ((unsigned)bound, GetRenderTarget().framebuffer);
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    DrawTextureQuad(GetTexture(image), 1000, 256);
    const TextureEntry& slot = EndRenderToTexture();
    glGetIntegerv(GL_FRAMEBUFFER_BINDING_EXT, &bound);
    EXPECT_EQ((GLuint)bound, windowFbo);

    std::vector<uint32_t> texels = Texels(slot.texture, 256, 256);
    EXPECT_EQ(texels[100 * 256 + 128], kRed);
    EXPECT_EQ(texels[155 * 256 + 128], kBlue);
    EXPECT_EQ(texels[90 * 256 + 128], 0u);

    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    glDeleteFramebuffersEXT(1, &windowFbo);
    glDeleteRenderbuffersEXT(1, &windowColour);
    // Drawn on the window, the picture is upright.
    ExpectHalvesUprightOnWindow(gl, slot);
}

TEST_F(RenderTargetTest, WithoutFramebufferCallsStartUpRefusesWithTheExtensionsMessage) {
    LimitFramebufferSet(FramebufferSet::None);
    DriverSupport support = QueryDriverSupport();
    bool made = CreateRenderTarget(64, 64);
    LimitFramebufferSet(FramebufferSet::Core);
    EXPECT_FALSE(support.framebufferExtension);
    EXPECT_FALSE(made);
    try {
        CheckDriverSupport(support);
        ADD_FAILURE() << "no exception";
    } catch (const BasicException& e) {
        EXPECT_STREQ(e.GetMessage(), "Your videocard doesn't support some of the required extensions :(");
    }
}
