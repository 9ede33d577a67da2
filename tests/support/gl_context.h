// A real OpenGL window for tests (under Xvfb in the test script), with its
// OGLState record current, and pixel read-back helpers.
#pragma once

#include <cstdint>

class OGLState;

class GLContext {
  public:
    // Opens (or reuses) the SDL OpenGL window at width x height and makes a fresh
    // OGLState record current.
    GLContext(int width = 640, int height = 480);
    ~GLContext();
    int width() const { return w; }
    int height() const { return h; }
    OGLState* state() const { return record; }

    // 0xAARRGGBB of the pixel at (x, y), y counted from the window's top row.
    static uint32_t ReadPixel(int x, int y, int windowHeight);
    uint32_t Pixel(int x, int y) const { return ReadPixel(x, y, h); }
    static void ClearTo(float r, float g, float b, float a);

  private:
    int w, h;
    OGLState* record;
    OGLState* previous;
};
