// The font module's process-wide FreeType library handle and its count of font
// loads. Each deliverable links its own copy of the module, so each holds its own.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

// Creates the library on first use and counts one font load. Throws
// BasicException when FreeType cannot be initialised (nothing is counted then).
FT_Library AcquireFreeTypeLibrary();
// Gives back one font load; the last one releases the library.
void ReleaseFreeTypeLibrary();

// For tests and diagnostics.
int FreeTypeLoadCount();
bool FreeTypeLibraryHeld();
