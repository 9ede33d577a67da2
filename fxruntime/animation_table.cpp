// The animation table: AnimList.txt's animations, each a list of image paths
// with display durations. Every frame's image gets its texture slot at load.
#include <cstring>
#include <string>

#include "fxruntime_internal.h"
#include "list_parsers.h"

namespace {
AnimationTable gAnimations; // zero at load: every frame count 0

} // namespace

void LoadAnimList() {
    ListReader list("AnimList.txt");
    if (!list.IsOpen()) return;
    // Past the table's size (reached by many repeated initialisations) the
    // animations are read and dropped, so earlier numbers stay valid. Counted
    // before its frames are read, so a frame that fails to load leaves the
    // frames read so far owned by the table. Frames beyond the fixed field are
    // read but not kept.
    Animation* animation = nullptr;
    ParseAnimList(
        list,
        [&] {
            animation = nullptr;
            if (gAnimations.count < kMaxAnimations) animation = &gAnimations.animations[gAnimations.count++];
        },
        [&](const std::string& path, long duration) {
            if (!animation || animation->frameCount >= kMaxFrames) return;
            CreateTextureFromFile(path.c_str(), false);
            AnimFrame* frame = new AnimFrame();
            strncpy(frame->name, path.c_str(), kNameSize - 1);
            frame->duration = duration;
            animation->frames[animation->frameCount++] = frame;
        });
}

const Animation* GetAnimation(int index) {
    if (index < 0 || index >= gAnimations.count) return nullptr;
    return &gAnimations.animations[index];
}

void ReleaseAnimations() {
    for (int i = 0; i < gAnimations.count; i++) {
        Animation& a = gAnimations.animations[i];
        for (int f = 0; f < a.frameCount; f++) {
            delete a.frames[f];
            a.frames[f] = nullptr;
        }
        a.frameCount = 0;
    }
    gAnimations.count = 0;
}
