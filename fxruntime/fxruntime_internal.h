// Helpers shared inside the effects library runtime: the bounded reader of the
// plain-text lists, the driver checks and the image list loader.
#pragma once

#include <cstdio>
#include <string>

#include "fxruntime.h"

// Reads the whitespace-separated lists the way scanf would, but stores at most
// kMaxStoredToken characters of a token, so no input can overflow anything.
class ListReader {
  public:
    static constexpr size_t kMaxStoredToken = 4096;

    explicit ListReader(const char* path);
    ~ListReader();
    ListReader(const ListReader&) = delete;
    ListReader& operator=(const ListReader&) = delete;

    bool IsOpen() const { return file != nullptr; }
    void SkipSpace();
    // " %s": the next run of non-blank characters; false at end of file.
    bool ReadToken(std::string& token);
    // " %ld": false (and nothing stored) when no number follows.
    bool ReadLong(long& value);
    // "%c": the next character, blank or not; false at end of file.
    bool ReadChar(int& c);

  private:
    FILE* file;
};

// Raises the error for a list entry whose path does not fit a name field.
void CheckPathLength(const std::string& path, const char* listName);

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
