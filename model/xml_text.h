// Conversion between the demo's 8-bit strings and the XML library's UTF-16 text.
// The 8-bit strings are windows-1252, the encoding the file declares: Latin-1
// plus the 27 characters (euro sign, curly quotes, dashes...) at bytes 0x80-0x9F.
#pragma once

#include <cstddef>
#include <string>

#include <xercesc/util/XercesDefs.hpp>

// A new heap string (free with FreeString); characters windows-1252 lacks become '?'.
char* LocalFromXml(const XMLCh* text);
char* LocalFromXml(const XMLCh* text, size_t length);
std::basic_string<XMLCh> XmlFromLocal(const char* text);
// The character a windows-1252 byte stands for.
XMLCh XmlFromLocalByte(unsigned char byte);
