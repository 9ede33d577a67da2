// Copy, paste and duplicate of events: the clipboard holds a copy of one event
// (its effect by library and function name, times and values), so it survives
// edits and the deletion of the original.
#pragma once

// Ctrl+C: the selected event into the clipboard; false without a selection.
bool CopySelectedEvent();
// Ctrl+V: the clipboard's event at the time cursor on the selected track (the
// event's track, or the one in the track panel); one undo step.
bool PasteEvent();
// Ctrl+D: a copy of the selected event right after itself; one undo step.
bool DuplicateSelectedEvent();
