// Reading rendered frames back: glReadPixels into pixel buffer objects, two in
// flight, so the driver can finish one frame and copy it out while the next is
// drawn; straight into memory when the driver has no buffer objects.
#include "render_internal.h"

#include <cstring>

#include <GL/glew.h>

namespace {
const size_t kBuffersInFlight = 2;
}

FrameReadback::FrameReadback(int width_, int height_)
    : width(width_), height(height_), rowBytes((size_t)width_ * 4) {
    if ((GLEW_VERSION_2_1 || GLEW_ARB_pixel_buffer_object) && glGenBuffers && glMapBuffer) {
        slots.resize(kBuffersInFlight);
        glGenBuffers((GLsizei)slots.size(), slots.data());
        for (unsigned buffer : slots) {
            glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer);
            glBufferData(GL_PIXEL_PACK_BUFFER, (GLsizeiptr)(rowBytes * height), nullptr, GL_STREAM_READ);
        }
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
        if (glGetError() == GL_NO_ERROR) return;
        glDeleteBuffers((GLsizei)slots.size(), slots.data());
        slots.clear();
    }
    direct.resize(rowBytes * height);
    slots.push_back(0);
}

FrameReadback::~FrameReadback() {
    if (direct.empty()) glDeleteBuffers((GLsizei)slots.size(), slots.data());
}

void FrameReadback::Read(uint64_t tag) {
    size_t slot = next;
    next = (next + 1) % slots.size();
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (direct.empty()) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, slots[slot]);
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    } else {
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, direct.data());
    }
    pending.push_back({slot, tag});
}

bool FrameReadback::Collect(uint8_t* out, uint64_t& tag) {
    std::pair<size_t, uint64_t> read = pending.front();
    pending.pop_front();
    tag = read.second;
    const uint8_t* pixels = direct.data();
    if (direct.empty()) {
        glBindBuffer(GL_PIXEL_PACK_BUFFER, slots[read.first]);
        pixels = static_cast<const uint8_t*>(glMapBuffer(GL_PIXEL_PACK_BUFFER, GL_READ_ONLY));
    }
    // GL's rows start at the bottom.
    if (pixels)
        for (int y = 0; y < height; y++)
            memcpy(out + (size_t)y * rowBytes, pixels + (size_t)(height - 1 - y) * rowBytes, rowBytes);
    if (direct.empty()) {
        if (pixels) glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
        glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    }
    return pixels != nullptr;
}
