// The editor's music controls: the tempo fields and "Detect" of the Demo Info
// panel, the marker panel, and the keys I, O, L, M, [, ] and W.
#pragma once

#include <cstdint>

// Adds the tempo rows under the Demo Info panel's other fields.
void AddTempoFields();
// Shows the marker panel of marker `marker` in the panel area (-1: nothing).
void ShowMarkerPanel(int marker);
// "Detect": estimates the tempo of the loaded music in the background.
void DetectTempoCommand(int x, int y, int button);
// Once per frame: picks up a finished tempo detection, and shows again the
// panels whose fields reported a refused value.
void UpdateMusicPanels();
// Forgets a detection still running (a new demo was loaded).
void CancelTempoDetection();
// Keys I O L M [ ] W when no field has the focus: true when the key was one of these.
bool HandleMusicKey(int sym, int unicode);
