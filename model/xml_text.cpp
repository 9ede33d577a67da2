#include "xml_text.h"

#include "demo.h"

char* LocalFromXml(const XMLCh* text) {
    if (!text) return CopyString("");
    size_t n = 0;
    while (text[n])
        n++;
    char* out = new char[n + 1];
    for (size_t i = 0; i < n; i++)
        out[i] = text[i] < 256 ? (char)(unsigned char)text[i] : '?';
    out[n] = 0;
    return out;
}

std::basic_string<XMLCh> XmlFromLocal(const char* text) {
    std::basic_string<XMLCh> out;
    if (!text) return out;
    for (const unsigned char* p = (const unsigned char*)text; *p; p++)
        out.push_back((XMLCh)*p);
    return out;
}
