// The reading steps of the runtime's four lists, apart from the loading they
// drive: each reads its list in file order and hands every entry to a callback,
// which loads the picture or font. Paths are checked against the name fields
// here, so a callback only ever sees a path that fits. Nothing here touches GL,
// images or fonts, so tests and fuzzers read any list with these alone.
#pragma once

#include <functional>
#include <string>

#include "list_reader.h"

// ImageList.txt: "path complex" pairs until one does not read. `image` returns
// false to stop early.
void ParseImageList(ListReader& list, const std::function<bool(const std::string& path, long complex)>& image);

// AnimList.txt: tokens are skipped up to each BEGIN, then "path duration"
// pairs follow until one does not convert; reading goes on to the next BEGIN
// only when the token that ended the frames was END.
void ParseAnimList(ListReader& list, const std::function<void()>& beginAnimation,
                   const std::function<void(const std::string& path, long duration)>& frame);

// BigFont.txt: "path character" pairs, the character being the first non-blank
// one after the path. `glyph` returns false to stop early.
void ParseGlyphMap(ListReader& list, const std::function<bool(const std::string& path, int character)>& glyph);

// TextList.txt: a font count and that many font paths (fewer when the file
// ends), then a text count and that many texts, each up to and including its
// line feed or kMaxTextLength characters. A huge count reads only what the
// file holds.
void ParseTextList(ListReader& list, const std::function<void(const std::string& path)>& font,
                   const std::function<void(const std::string& text)>& text);
