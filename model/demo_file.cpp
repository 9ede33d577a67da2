// The demo file: XML read through the Xerces-C DOM parser and written through its
// DOM serializer, via a temporary file so a failed save never harms the old one.
#include "checked_file.h"
#include "demo.h"
#include "xml_text.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <cstring>
#include <vector>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufFormatTarget.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>
#include <xercesc/validators/DTD/DTDElementDecl.hpp>

using namespace xercesc;

namespace {

const char* kXmlLoadError =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
const char* kLoadError = "An error occurred while loading demo from XML file. May have something to with "
                         "corrupt XML, not 100% sure...";

struct MissingAttribute {};
struct DocumentTypeRefused {};

// A demo file has no document type. Refusing any DOCTYPE as soon as it is seen
// keeps entity definitions (and their amplification) out of the reader entirely.
class DemoDOMParser : public XercesDOMParser {
  public:
    void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool,
                     const bool) override {
        throw DocumentTypeRefused();
    }
};

typedef std::basic_string<XMLCh> XString;
XString X(const char* s) {
    return XmlFromLocal(s);
}

// Decimal integer: leading blanks, optional sign, digits up to the first non-digit;
// anything else reads as 0. Wraps to 32 bits like the stored fields.
int64_t ParseDecimal(const XMLCh* text) {
    char* local = LocalFromXml(text);
    long long v = strtoll(local, nullptr, 10);
    FreeString(local);
    return v;
}

const XMLCh* RequiredAttribute(const DOMElement* element, const char* name) {
    const DOMAttr* attr = element->getAttributeNode(X(name).c_str());
    if (!attr) throw MissingAttribute();
    return attr->getValue();
}

char* ReadString(const DOMElement* element, const char* name) {
    return LocalFromXml(RequiredAttribute(element, name));
}

uint32_t ReadUnsigned(const DOMElement* element, const char* name) {
    return (uint32_t)ParseDecimal(RequiredAttribute(element, name));
}

int32_t ReadSigned(const DOMElement* element, const char* name) {
    return (int32_t)(uint32_t)ParseDecimal(RequiredAttribute(element, name));
}

std::vector<DOMElement*> ElementChildren(const DOMNode* node) {
    std::vector<DOMElement*> out;
    for (DOMNode* c = node->getFirstChild(); c; c = c->getNextSibling())
        if (c->getNodeType() == DOMNode::ELEMENT_NODE) out.push_back(static_cast<DOMElement*>(c));
    return out;
}

// Text of the first element named `name`: its first child's value, or null.
char* ReadSummaryText(DOMDocument* doc, const char* name) {
    DOMNodeList* list = doc->getElementsByTagName(X(name).c_str());
    if (!list || list->getLength() == 0) return nullptr;
    DOMNode* first = list->item(0)->getFirstChild();
    if (!first || !first->getNodeValue()) return nullptr;
    return LocalFromXml(first->getNodeValue());
}

void ReadLibraries(DOMDocument* doc, DemoStruct& demo, bool descriptive) {
    DOMNodeList* libs = doc->getElementsByTagName(X("Library").c_str());
    uint32_t count = libs->getLength();
    if (count == 0) return;
    demo.libraries = new EffectLibrary[count]();
    demo.libraryCount = count;
    for (uint32_t l = 0; l < count; l++) {
        DOMElement* libElement = static_cast<DOMElement*>(libs->item(l));
        EffectLibrary& lib = demo.libraries[l];
        lib.fileName = ReadString(libElement, "FileName");
        std::vector<DOMElement*> functions = ElementChildren(libElement);
        if (functions.empty()) continue;
        lib.functions = new EffectFunction[functions.size()]();
        lib.functionCount = (uint32_t)functions.size();
        for (size_t f = 0; f < functions.size(); f++) {
            EffectFunction& fn = lib.functions[f];
            fn.name = ReadString(functions[f], "Name");
            std::vector<DOMElement*> params = ElementChildren(functions[f]);
            if (params.empty()) continue;
            fn.paramNames = new char*[params.size()]();
            fn.paramCount = (uint32_t)params.size();
            if (descriptive)
                for (size_t p = 0; p < params.size(); p++)
                    fn.paramNames[p] = ReadString(params[p], "Name");
        }
    }
}

void ReadSettings(DOMDocument* doc, DemoStruct& demo, bool descriptive) {
    DOMNodeList* list = doc->getElementsByTagName(X("Settings").c_str());
    if (!list || list->getLength() == 0) throw MissingAttribute();
    const DOMElement* settings = static_cast<const DOMElement*>(list->item(0));
    demo.runningTime = ReadUnsigned(settings, "RunningTime");
    char* useOpenGL = ReadString(settings, "UseOpenGL");
    demo.useOpenGL = strcmp(useOpenGL, "true") == 0;
    FreeString(useOpenGL);
    demo.inputSurfaceCount = ReadUnsigned(settings, "NumberOfInputSurfaces");
    demo.inputMusicFile = ReadString(settings, "InputMusicFile");
    demo.author = demo.group = demo.extraInfo = nullptr;
    if (descriptive) {
        demo.author = ReadSummaryText(doc, "Author");
        demo.group = ReadSummaryText(doc, "Group");
        demo.extraInfo = ReadSummaryText(doc, "ExtraInfo");
    }
}

void ReadTracks(DOMDocument* doc, DemoStruct& demo) {
    DOMNodeList* tracks = doc->getElementsByTagName(X("Track").c_str());
    uint32_t count = tracks->getLength();
    if (count == 0) return;
    demo.tracks = new DemoTrack[count]();
    demo.trackCount = count;
    const XString paramName = X("param");
    for (uint32_t t = 0; t < count; t++) {
        DemoTrack& track = demo.tracks[t];
        std::vector<DOMElement*> events = ElementChildren(tracks->item(t));
        if (events.empty()) continue;
        track.events = new DemoEvent[events.size()]();
        track.eventCount = (uint32_t)events.size();
        for (size_t e = 0; e < events.size(); e++) {
            DemoEvent& ev = track.events[e];
            ev.libraryFileName = ReadString(events[e], "LibraryFileName");
            ev.functionName = ReadString(events[e], "FunctionName");
            ev.startTime = ReadUnsigned(events[e], "StartTime") / 10 * 10;
            ev.endTime = ReadUnsigned(events[e], "EndTime") / 10 * 10;
            std::vector<DOMElement*> params;
            for (DOMElement* child : ElementChildren(events[e]))
                if (XString(child->getTagName()) == paramName) params.push_back(child);
            if (!params.empty()) {
                ev.startValues = new int32_t[params.size()]();
                ev.endValues = new int32_t[params.size()]();
                ev.paramCount = (uint32_t)params.size();
                for (size_t p = 0; p < params.size(); p++) {
                    ev.startValues[p] = ReadSigned(params[p], "start");
                    ev.endValues[p] = ReadSigned(params[p], "end");
                }
            }
            if (e > 0) LinkEvents(track.events[e - 1], ev);
        }
    }
}

bool Readable(const char* path) {
    FILE* f = fopen(path, "rb");
    if (!f) return false;
    fclose(f);
    return true;
}

} // namespace

void LoadDemoFile(const char* path, DemoStruct& demo, bool withDescriptiveData) {
    XMLPlatformUtils::Initialize();
    XercesDOMParser* parser = nullptr;
    SecurityManager security;
    security.setEntityExpansionLimit(10000);
    const char* failure = nullptr;
    bool noDocument = false;
    try {
        parser = new DemoDOMParser();
        // A demo file may come from anyone: never fetch external DTDs or entities,
        // and bound entity expansion so a small file cannot exhaust memory.
        parser->setLoadExternalDTD(false);
        parser->setDisableDefaultEntityResolution(true);
        parser->setSecurityManager(&security);
        if (!Readable(path)) {
            noDocument = true;
        } else {
            parser->parse(path);
            DOMDocument* doc = parser->getDocument();
            if (!doc || !doc->getDocumentElement()) {
                if (parser->getErrorCount() > 0)
                    failure = kLoadError;
                else
                    noDocument = true;
            } else {
                ReadLibraries(doc, demo, withDescriptiveData);
                ReadSettings(doc, demo, withDescriptiveData);
                ReadTracks(doc, demo);
                if (parser->getErrorCount() > 0) failure = kLoadError;
            }
        }
    } catch (const XMLException&) {
        failure = kXmlLoadError;
    } catch (...) {
        failure = kLoadError;
    }
    delete parser;
    XMLPlatformUtils::Terminate();
    if (noDocument) throw BasicException::Format("Couldn't load the demo %s, does this file exists?", path);
    if (failure) throw BasicException(failure);
}

// [SECTION] Writing

namespace {

void SetAttr(DOMElement* e, const char* name, const char* value) {
    e->setAttribute(X(name).c_str(), X(value ? value : "").c_str());
}

void SetAttr(DOMElement* e, const char* name, long value) {
    char buffer[32];
    snprintf(buffer, sizeof buffer, "%ld", value);
    SetAttr(e, name, buffer);
}

DOMElement* Append(DOMDocument* doc, DOMNode* parent, const char* name) {
    DOMElement* e = doc->createElement(X(name).c_str());
    parent->appendChild(e);
    return e;
}

void BuildDocument(DOMDocument* doc, const DemoStruct& demo) {
    DOMElement* root = doc->getDocumentElement();
    DOMElement* libraries = Append(doc, root, "Libraries");
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        DOMElement* libElement = Append(doc, libraries, "Library");
        SetAttr(libElement, "FileName", lib.fileName);
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            const EffectFunction& fn = lib.functions[f];
            DOMElement* fnElement = Append(doc, libElement, "Function");
            SetAttr(fnElement, "Name", fn.name);
            for (uint32_t p = 0; p < fn.paramCount; p++)
                SetAttr(Append(doc, fnElement, "Param"), "Name", fn.paramNames ? fn.paramNames[p] : nullptr);
        }
    }

    DOMElement* demoElement = Append(doc, root, "Demo");
    DOMElement* settings = Append(doc, demoElement, "Settings");
    SetAttr(settings, "RunningTime", (long)demo.runningTime);
    SetAttr(settings, "UseOpenGL", demo.useOpenGL ? "true" : "false");
    SetAttr(settings, "NumberOfInputSurfaces", (long)demo.inputSurfaceCount);
    SetAttr(settings, "InputMusicFile", demo.inputMusicFile);
    DOMElement* summary = Append(doc, demoElement, "Summary");
    // A group or extra info typed without an author must survive the save too.
    if (demo.author || demo.group || demo.extraInfo) {
        const char* texts[3][2] = {
            {"Author", demo.author}, {"Group", demo.group}, {"ExtraInfo", demo.extraInfo}};
        for (auto& t : texts)
            Append(doc, summary, t[0])->appendChild(doc->createTextNode(X(t[1] ? t[1] : "").c_str()));
    }

    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        DOMElement* trackElement = Append(doc, demoElement, "Track");
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            DOMElement* eventElement = Append(doc, trackElement, "Event");
            SetAttr(eventElement, "LibraryFileName", ev.libraryFileName);
            SetAttr(eventElement, "FunctionName", ev.functionName);
            SetAttr(eventElement, "StartTime", (long)ev.startTime);
            SetAttr(eventElement, "EndTime", (long)ev.endTime);
            for (uint32_t p = 0; p < ev.paramCount; p++) {
                DOMElement* param = Append(doc, eventElement, "param");
                SetAttr(param, "start", (long)ev.startValues[p]);
                SetAttr(param, "end", (long)ev.endValues[p]);
            }
        }
    }
}

void ReportSaveError(const char* what, const XMLCh* message) {
    char* text = LocalFromXml(message);
    fprintf(stderr, "%sException message is: \n%s\n", what, text);
    FreeString(text);
}

} // namespace

bool SaveDemoFile(const char* path, const DemoStruct* demo, const SaveOptions* options, SaveReport* report) {
    if (report) *report = SaveReport();
    if (!demo || !path) {
        fprintf(stderr, "An error occurred while saving demo to XML file: there is no demo to save.\n");
        return false;
    }
    // The whole document is made in memory first, so nothing touches the disk
    // until it is complete, and every write of it can be checked.
    bool written = false;
    XMLPlatformUtils::Initialize();
    DOMLSSerializer* writer = nullptr;
    DOMLSOutput* output = nullptr;
    MemBufFormatTarget* target = nullptr;
    DOMDocument* doc = nullptr;
    std::string bytes;
    try {
        DOMImplementation* impl = DOMImplementationRegistry::getDOMImplementation(X("LS").c_str());
        writer = static_cast<DOMImplementationLS*>(impl)->createLSSerializer();
        DOMConfiguration* config = writer->getDomConfig();
        if (config->canSetParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true))
            config->setParameter(XMLUni::fgDOMWRTFormatPrettyPrint, true);
        doc = impl->createDocument(nullptr, X("VorlenDemoFile").c_str(), nullptr);
        doc->setXmlVersion(X("1.0").c_str());
        BuildDocument(doc, *demo);
        output = static_cast<DOMImplementationLS*>(impl)->createLSOutput();
        output->setEncoding(X("windows-1252").c_str());
        target = new MemBufFormatTarget();
        output->setByteStream(target);
        written = writer->write(doc, output);
        if (written)
            bytes.assign((const char*)target->getRawBuffer(), target->getLen());
        else
            fprintf(stderr, "An error occurred while saving demo to XML file: the writer failed.\n");
    } catch (const XMLException& e) {
        ReportSaveError("An XML error occurred while saving demo to XML file.", e.getMessage());
    } catch (const DOMException& e) {
        ReportSaveError("A DOM error occurred while saving demo to XML file.", e.getMessage());
    } catch (...) {
        fprintf(stderr, "An error occurred while saving demo to XML file.\n");
    }
    delete target;
    if (output) output->release();
    if (writer) writer->release();
    if (doc) doc->release();
    XMLPlatformUtils::Terminate();
    if (!written) return false;

    std::string error;
    if (!ReplaceFileChecked(path, bytes.data(), bytes.size(), options && options->keepBackup, error)) {
        fprintf(stderr, "An XML error occurred while saving demo to XML file.Exception message is: \n%s\n",
                error.c_str());
        return false;
    }
    return true;
}
