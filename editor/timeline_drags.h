// Drags that start on the timeline: moving an event block in time and to
// another track, pulling its start or end edge, scrubbing the time slider, and
// the scroll bars. Each drag of a block is one undo step.
#pragma once

#include <cstdint>

// Which part of a block a press took.
enum class BlockGrip { kMove, kStart, kEnd };
// The grip for a press at px on a block at bx, bw pixels wide: the outer 3
// pixels of a block at least 9 wide are its edges; a narrower block moves when
// pressed on and gives its edges to presses just outside it.
BlockGrip GripAt(int px, int bx, int bw);

// The rest of the current left press drags this event's block.
void BeginBlockDrag(uint32_t track, uint32_t event, BlockGrip grip, int pressX, int pressY);
// The rest of the current left press sets `value` (ms) to the time under the pointer.
void BeginScrubDrag(int* value);
// The press at (px, py) on the horizontal (time) or vertical (rows) scroll bar:
// a press on the thumb drags it, a press beside it centres the thumb there first.
void BeginScrollBarDrag(bool horizontal, int px, int py);
