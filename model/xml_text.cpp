#include "xml_text.h"

#include <mutex>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>

#include "demo.h"

using namespace xercesc;

namespace {

// Every byte's character, as the XML library's own windows-1252 transcoder
// gives it; taken once, since the transcoder cannot outlive the library.
struct Windows1252 {
    XMLCh fromByte[256];
    Windows1252() {
        for (int b = 0; b < 256; b++)
            fromByte[b] = (XMLCh)b; // Latin-1 should the transcoder be missing
        XMLPlatformUtils::Initialize();
        XMLTransService::Codes result;
        XMLTranscoder* transcoder =
            XMLPlatformUtils::fgTransService->makeNewTranscoderFor("windows-1252", result, 256);
        if (transcoder) {
            XMLByte bytes[256];
            for (int b = 0; b < 256; b++)
                bytes[b] = (XMLByte)b;
            XMLCh chars[256];
            unsigned char sizes[256];
            XMLSize_t eaten = 0;
            if (transcoder->transcodeFrom(bytes, 256, chars, 256, eaten, sizes) == 256)
                for (int b = 0; b < 256; b++)
                    fromByte[b] = chars[b];
            delete transcoder;
        }
        XMLPlatformUtils::Terminate();
    }
    // The byte for `c`, or '?' when windows-1252 has no such character.
    char ToByte(XMLCh c) const {
        if (c < 0x100 && fromByte[c] == c) return (char)(unsigned char)c;
        for (int b = 0x80; b < 0xA0; b++)
            if (fromByte[b] == c) return (char)(unsigned char)b;
        return '?';
    }
};

const Windows1252& Table() {
    static Windows1252* table = nullptr;
    static std::once_flag once;
    std::call_once(once, [] { table = new Windows1252(); });
    return *table;
}

} // namespace

char* LocalFromXml(const XMLCh* text, size_t length) {
    char* out = new char[length + 1];
    const Windows1252* table = nullptr;
    for (size_t i = 0; i < length; i++) {
        XMLCh c = text[i];
        if (c < 0x80) {
            out[i] = (char)c;
        } else {
            if (!table) table = &Table();
            out[i] = table->ToByte(c);
        }
    }
    out[length] = 0;
    return out;
}

char* LocalFromXml(const XMLCh* text) {
    if (!text) return CopyString("");
    size_t n = 0;
    while (text[n])
        n++;
    return LocalFromXml(text, n);
}

XMLCh XmlFromLocalByte(unsigned char byte) {
    return byte < 0x80 ? (XMLCh)byte : Table().fromByte[byte];
}

std::basic_string<XMLCh> XmlFromLocal(const char* text) {
    std::basic_string<XMLCh> out;
    if (!text) return out;
    for (const unsigned char* p = (const unsigned char*)text; *p; p++)
        out.push_back(XmlFromLocalByte(*p));
    return out;
}
