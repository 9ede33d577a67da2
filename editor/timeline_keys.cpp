// The editor's keyboard commands for moving about the timeline.
#include "editor.h"

bool HandleTimelineKey(int, int) {
    return false;
}
