// Conversion between the demo's 8-bit strings (Latin-1, the byte set the editor's
// fonts draw and SDL's key translation yields) and the XML library's UTF-16 text.
#pragma once

#include <string>

#include <xercesc/util/XercesDefs.hpp>

// A new heap string (free with FreeString); characters beyond Latin-1 become '?'.
char* LocalFromXml(const XMLCh* text);
std::basic_string<XMLCh> XmlFromLocal(const char* text);
