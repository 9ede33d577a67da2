// A GL window and a scratch working directory holding the interface font, for
// tests of text widgets.
#pragma once

#include <gtest/gtest.h>

#include "editor_fixture.h"
#include "gl_context.h"
#include "gui.h"
#include "scratch_dir.h"
#include "sdl_events.h"

class TextFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        CopyInterfaceFont(dir);
        windowWidth = 640;
        windowHeight = 480;
        DrainEvents();
        SharedMouseState() = MouseState{false, false, 0, 0, 0};
    }
    void TearDown() override {
        DrainEvents();
        SharedMouseState() = MouseState{false, false, 0, 0, 0};
    }
    // Pushes each character as a key press with its own unicode.
    static void Type(const std::string& s) {
        for (char c : s)
            PushKeyDown((unsigned char)c, (unsigned char)c);
    }
    ScratchDir dir{true};
    GLContext gl{640, 480};
};
