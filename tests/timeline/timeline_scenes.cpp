#include "timeline_scenes.h"

#include <GL/gl.h>
#include <gtest/gtest.h>

#include "demo_builder.h"

void OpenGeneratedDemo(EditorFixture& f, const std::string& fileName, uint32_t tracks, uint32_t events,
                       uint32_t length, uint32_t pitch, uint32_t shift, uint32_t runningTime) {
    DemoStruct d = EmptyDemo();
    const std::string lib = PluginPath("RecordPlugin");
    AddLibrary(d, lib, {{"Effect1", {"Value"}}});
    for (uint32_t t = 0; t < tracks; t++) {
        AddTrack(d);
        for (uint32_t e = 0; e < events; e++) {
            const uint32_t s = t * shift + e * pitch;
            AddEvent(d, t, lib, "Effect1", s, s + length, {(int32_t)e}, {(int32_t)e + 1});
        }
    }
    d.runningTime = runningTime;
    d.inputMusicFile = CopyString("");
    d.author = CopyString("Tester");
    if (!SaveDemoFile(f.dir.file(fileName).c_str(), &d)) ADD_FAILURE() << "could not write " << fileName;
    ReleaseDemo(d);
    EditorOpenDemo(fileName.c_str());
    EXPECT_STREQ("Demo loaded", f.screen().statusText);
}

std::vector<uint8_t> ReadRegion(int x, int y, int w, int h, int windowHeight) {
    std::vector<uint8_t> rgba((size_t)w * h * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, windowHeight - y - h, w, h, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    std::vector<uint8_t> rgb;
    rgb.reserve((size_t)w * h * 3);
    for (int row = h - 1; row >= 0; row--)
        for (int col = 0; col < w; col++)
            for (int c = 0; c < 3; c++)
                rgb.push_back(rgba[((size_t)row * w + col) * 4 + c]);
    return rgb;
}
