// The GL state stack against a real context: every Push/Pop pair read back with
// glGet, the three ways of making a record current, and a new record's view.
#include <gtest/gtest.h>

#include <GL/glew.h>

#include "gl_context.h"
#include "oglstate.h"

namespace {

bool Enabled(GLenum cap) {
    return glIsEnabled(cap) == GL_TRUE;
}
GLint Int(GLenum what) {
    GLint v[4] = {};
    glGetIntegerv(what, v);
    return v[0];
}
std::vector<GLint> Viewport() {
    GLint v[4];
    glGetIntegerv(GL_VIEWPORT, v);
    return {v[0], v[1], v[2], v[3]};
}
std::vector<double> Projection() {
    double m[16];
    glGetDoublev(GL_PROJECTION_MATRIX, m);
    return std::vector<double>(m, m + 16);
}
std::vector<double> Frustum(double l, double r, double b, double t, double n, double f) {
    return {2 * n / (r - l),
            0,
            0,
            0,
            0,
            2 * n / (t - b),
            0,
            0,
            (r + l) / (r - l),
            (t + b) / (t - b),
            -(f + n) / (f - n),
            -1,
            0,
            0,
            -2 * f * n / (f - n),
            0};
}
std::vector<double> Ortho(double l, double r, double b, double t, double n, double f) {
    return {2 / (r - l),
            0,
            0,
            0,
            0,
            2 / (t - b),
            0,
            0,
            0,
            0,
            -2 / (f - n),
            0,
            -(r + l) / (r - l),
            -(t + b) / (t - b),
            -(f + n) / (f - n),
            1};
}
void ExpectMatrix(const std::vector<double>& expected, const std::vector<double>& actual) {
    for (int i = 0; i < 16; i++)
        EXPECT_NEAR(expected[i], actual[i], 1e-6) << "element " << i;
}

struct GLStateFixture : ::testing::Test {
    GLContext ctx{640, 480};
};

TEST_F(GLStateFixture, NewRecordStartsWithWindowViewAndCentredYDownFrustum) {
    EXPECT_EQ((std::vector<GLint>{0, 0, 640, 480}), Viewport());
    ExpectMatrix(Frustum(-320, 320, 240, -240, 1, 100), Projection());
    EXPECT_EQ(640.0, OGLState::GetViewWidth());
    EXPECT_EQ(480.0, OGLState::GetViewHeight());
    EXPECT_EQ(GL_MODELVIEW, Int(GL_MATRIX_MODE));
}

TEST_F(GLStateFixture, NewRecordOfOddSizeHalvesInWholePixels) {
    OGLState odd(641, 481);
    const OGLState::Projection& p = odd.values().projection;
    EXPECT_EQ(-320.0, p.left);
    EXPECT_EQ(320.0, p.right);
    EXPECT_EQ(240.0, p.bottom);
    EXPECT_EQ(-240.0, p.top);
    EXPECT_EQ(1.0, p.zNear);
    EXPECT_EQ(100.0, p.zFar);
    EXPECT_FALSE(p.orthographic);
    EXPECT_EQ(641, odd.values().viewport[2]);
    EXPECT_EQ(481, odd.values().viewport[3]);
}

TEST_F(GLStateFixture, QuadAtNearPlaneLandsWhereEffectsExpect) {
    // A view position (x, y) from the top-left is drawn at (x - W/2, y - H/2, -1).
    glDisable(GL_TEXTURE_2D);
    glColor4ub(255, 0, 0, 255);
    glBegin(GL_QUADS);
    glVertex3f(10 - 320, 20 - 240, -1);
    glVertex3f(30 - 320, 20 - 240, -1);
    glVertex3f(30 - 320, 60 - 240, -1);
    glVertex3f(10 - 320, 60 - 240, -1);
    glEnd();
    EXPECT_EQ(0xFFFF0000u, ctx.Pixel(15, 25));
    EXPECT_EQ(0xFFFF0000u, ctx.Pixel(29, 59));
    EXPECT_EQ(0xFF000000u, ctx.Pixel(15, 65) | 0xFF000000u);
    EXPECT_EQ(0xFF000000u, ctx.Pixel(5, 25) | 0xFF000000u);
}

TEST_F(GLStateFixture, PushesApplyAndPopsRestoreInNestedOrder) {
    OGLState::PushBlend(true);
    OGLState::PushBlend(false);
    EXPECT_FALSE(Enabled(GL_BLEND));
    OGLState::PopBlend();
    EXPECT_TRUE(Enabled(GL_BLEND));
    OGLState::PopBlend();
    EXPECT_FALSE(Enabled(GL_BLEND));

    OGLState::PushBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    EXPECT_EQ(770, Int(GL_BLEND_SRC));
    EXPECT_EQ(771, Int(GL_BLEND_DST));
    OGLState::PopBlendFunc();
    EXPECT_EQ(GL_ONE, Int(GL_BLEND_SRC));
    EXPECT_EQ(GL_ZERO, Int(GL_BLEND_DST));

    OGLState::PushDepth(true);
    EXPECT_TRUE(Enabled(GL_DEPTH_TEST));
    OGLState::PopDepth();
    EXPECT_FALSE(Enabled(GL_DEPTH_TEST));

    OGLState::PushTexture2D(true);
    EXPECT_TRUE(Enabled(GL_TEXTURE_2D));
    OGLState::PopTexture2D();
    EXPECT_FALSE(Enabled(GL_TEXTURE_2D));
}

TEST_F(GLStateFixture, ColoursAndMasks) {
    float c[4];
    OGLState::PushColor(0x80FF4000u);
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_NEAR(1.0, c[0], 1e-3);
    EXPECT_NEAR(64 / 255.0, c[1], 1e-3);
    EXPECT_NEAR(0.0, c[2], 1e-3);
    EXPECT_NEAR(128 / 255.0, c[3], 1e-3);
    OGLState::PushColor((uint32_t)-1);
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_NEAR(1.0, c[1], 1e-3);
    EXPECT_NEAR(1.0, c[3], 1e-3);
    OGLState::PopColor();
    OGLState::PopColor();
    glGetFloatv(GL_CURRENT_COLOR, c);
    EXPECT_NEAR(1.0, c[2], 1e-3); // back to the record's white

    OGLState::PushBGColor(255, 10, 20, 30);
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    EXPECT_NEAR(10 / 255.0, c[0], 1e-3);
    EXPECT_NEAR(30 / 255.0, c[2], 1e-3);
    EXPECT_NEAR(1.0, c[3], 1e-3);
    OGLState::PopBGColor();
    glGetFloatv(GL_COLOR_CLEAR_VALUE, c);
    EXPECT_EQ(0.0f, c[0]);
    EXPECT_EQ(0.0f, c[3]);

    GLboolean m[4];
    OGLState::PushColorMask(true, false, false, true);
    glGetBooleanv(GL_COLOR_WRITEMASK, m);
    EXPECT_TRUE(m[0] && !m[1] && !m[2] && m[3]);
    OGLState::PopColorMask();
    glGetBooleanv(GL_COLOR_WRITEMASK, m);
    EXPECT_TRUE(m[0] && m[1] && m[2] && m[3]);
}

TEST_F(GLStateFixture, TextureBindingPushAndSet) {
    GLuint tex[2];
    glGenTextures(2, tex);
    OGLState::PushTextureUsed(tex[0]);
    EXPECT_EQ((GLint)tex[0], Int(GL_TEXTURE_BINDING_2D));
    OGLState::SetTextureUsed(tex[1]);
    EXPECT_EQ((GLint)tex[1], Int(GL_TEXTURE_BINDING_2D));
    OGLState::PopTextureUsed();
    EXPECT_EQ(0, Int(GL_TEXTURE_BINDING_2D));
    glDeleteTextures(2, tex);
}

TEST_F(GLStateFixture, PreviewViewAndInterfaceViewNest) {
    OGLState::PushViewport(0, 240, 320, 240);
    OGLState::PushProjection(-160, 160, 120, -120, 1.0, 100.0, false);
    EXPECT_EQ((std::vector<GLint>{0, 240, 320, 240}), Viewport());
    EXPECT_EQ(320.0, OGLState::GetViewWidth());
    EXPECT_EQ(240.0, OGLState::GetViewHeight());
    ExpectMatrix(Frustum(-160, 160, 120, -120, 1, 100), Projection());

    OGLState::PushViewport(0, 0, 640, 480);
    OGLState::PushProjection(0, 640, 480, 0, -1.0, 1.0, true);
    ExpectMatrix(Ortho(0, 640, 480, 0, -1, 1), Projection());
    EXPECT_EQ(480.0, OGLState::GetViewHeight());
    OGLState::PopViewport();
    OGLState::PopProjection();
    EXPECT_EQ(240.0, OGLState::GetViewHeight());
    ExpectMatrix(Frustum(-160, 160, 120, -120, 1, 100), Projection());

    OGLState::PopViewport();
    OGLState::PopProjection();
    EXPECT_EQ((std::vector<GLint>{0, 0, 640, 480}), Viewport());
    ExpectMatrix(Frustum(-320, 320, 240, -240, 1, 100), Projection());
}

TEST_F(GLStateFixture, SetFormsReplaceWithoutPushing) {
    OGLState::SetViewport(0, 0, 300, 200);
    OGLState::SetProjection(-150, 150, -100, 100, 1, 100, false);
    EXPECT_EQ(200.0, OGLState::GetViewHeight());
    ExpectMatrix(Frustum(-150, 150, -100, 100, 1, 100), Projection());
    OGLState::PopViewport(); // nothing was pushed: harmless
    EXPECT_EQ((std::vector<GLint>{0, 0, 300, 200}), Viewport());
}

TEST_F(GLStateFixture, UnmatchedPopsAndNoRecordAreHarmless) {
    OGLState::PopBlend();
    OGLState::PopBlendFunc();
    OGLState::PopColor();
    OGLState::PopProjection();
    OGLState* mine = OGLState::SetState(nullptr);
    EXPECT_EQ(ctx.state(), mine);
    EXPECT_EQ(nullptr, OGLState::GetState());
    OGLState::PushBlend(true); // applied, nothing saved
    EXPECT_TRUE(Enabled(GL_BLEND));
    OGLState::PopBlend();
    EXPECT_TRUE(Enabled(GL_BLEND));
    EXPECT_EQ(0.0, OGLState::GetViewWidth());
    glDisable(GL_BLEND);
    OGLState::SetState(mine);
}

// [SECTION] Switching records

TEST_F(GLStateFixture, SetStateAppliesWhatDiffers) {
    OGLState::PushBlend(true);
    OGLState::PushViewport(1, 2, 3, 4);
    OGLState other(256, 128);
    OGLState* previous = OGLState::SetState(&other);
    EXPECT_EQ(ctx.state(), previous);
    EXPECT_FALSE(Enabled(GL_BLEND));
    EXPECT_EQ((std::vector<GLint>{0, 0, 256, 128}), Viewport());
    ExpectMatrix(Frustum(-128, 128, 64, -64, 1, 100), Projection());
    EXPECT_EQ(128.0, OGLState::GetViewHeight());

    EXPECT_EQ(&other, OGLState::SetState(ctx.state()));
    EXPECT_TRUE(Enabled(GL_BLEND));
    EXPECT_EQ((std::vector<GLint>{1, 2, 3, 4}), Viewport());
    OGLState::PopViewport();
    OGLState::PopBlend();
}

TEST_F(GLStateFixture, SetStateWithoutPreviousAppliesEverything) {
    OGLState::SetState(nullptr);
    glEnable(GL_BLEND);
    glViewport(5, 5, 5, 5);
    OGLState fresh(320, 200);
    EXPECT_EQ(nullptr, OGLState::SetState(&fresh));
    EXPECT_FALSE(Enabled(GL_BLEND));
    EXPECT_EQ((std::vector<GLint>{0, 0, 320, 200}), Viewport());
    OGLState::SetState(ctx.state());
}

TEST_F(GLStateFixture, NoCheckTrustsAndForceReapplies) {
    OGLState other(100, 100);
    glViewport(7, 7, 7, 7);
    EXPECT_EQ(ctx.state(), OGLState::SetStateNoCheck(&other));
    EXPECT_EQ((std::vector<GLint>{7, 7, 7, 7}), Viewport());
    EXPECT_EQ(100.0, OGLState::GetViewWidth());
    EXPECT_EQ(&other, OGLState::SetStateForce(&other));
    EXPECT_EQ((std::vector<GLint>{0, 0, 100, 100}), Viewport());
    OGLState::SetStateForce(ctx.state());
    EXPECT_EQ((std::vector<GLint>{0, 0, 640, 480}), Viewport());
}

TEST_F(GLStateFixture, DestroyingTheCurrentRecordDetachesIt) {
    OGLState* temp = new OGLState(10, 10);
    OGLState::SetStateNoCheck(temp);
    delete temp;
    EXPECT_EQ(nullptr, OGLState::GetState());
    OGLState::SetState(ctx.state());
}
} // namespace
