// Helpers shared inside the effects library runtime: the bounded reader of the
// plain-text lists, the driver checks and the image list loader.
#pragma once

#include <string>

#include "fxruntime.h"
#include "list_reader.h"

// What the driver offers for the off-screen render target.
struct DriverSupport {
    bool framebufferExtension; // GL_ARB_ or GL_EXT_framebuffer_object
    bool framebufferComplete;  // RGBA8 colour texture + 16-bit depth buffer works
};
DriverSupport QueryDriverSupport();
// Whether GL can be used after glewInit gave `result` (a GLenum).
bool GlewInitUsable(unsigned result, bool eglContext);
// Raises the user's message for what is missing, extensions first.
void CheckDriverSupport(const DriverSupport& support);

// Deletes the big font's lists and forgets its slots, for when the texture
// table is emptied.
void ForgetBigFont();

// Loads ImageList.txt into the texture table; raises when it cannot be opened
// or an image fails.
void LoadImageList();
