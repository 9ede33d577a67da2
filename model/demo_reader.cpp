// Reading the demo file with Xerces-C's streaming SAX2 reader: the document is
// never held in memory, only the demo being built. Elements are found by name
// wherever they lie, as in a whole-document search: every Library and Track in
// document order, each with its element children as functions or events.
#include "demo.h"
#include "xml_text.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <xercesc/sax2/Attributes.hpp>
#include <xercesc/sax2/DefaultHandler.hpp>
#include <xercesc/parsers/SAX2XMLReaderImpl.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/SecurityManager.hpp>
#include <xercesc/util/XMLException.hpp>
#include <xercesc/util/XMLUni.hpp>
#include <xercesc/validators/DTD/DTDElementDecl.hpp>

using namespace xercesc;

namespace {

const double kMaxBeatsPerMinute = 10000;

const char* kXmlLoadError =
    "An XML error occurred while loading demo from XML file. The XML file is corrupt in some way.";
const char* kLoadError = "An error occurred while loading demo from XML file. May have something to with "
                         "corrupt XML, not 100% sure...";

struct DocumentTypeRefused {};

// Element and attribute names as the parser hands them over (UTF-16).
struct Names {
    typedef std::basic_string<XMLCh> XString;
    XString library = XmlFromLocal("Library"), track = XmlFromLocal("Track"), param = XmlFromLocal("param"),
            settings = XmlFromLocal("Settings"), author = XmlFromLocal("Author"), group = XmlFromLocal("Group"),
            extraInfo = XmlFromLocal("ExtraInfo"), fileName = XmlFromLocal("FileName"),
            name = XmlFromLocal("Name"), libraryFileName = XmlFromLocal("LibraryFileName"),
            functionName = XmlFromLocal("FunctionName"), startTime = XmlFromLocal("StartTime"),
            endTime = XmlFromLocal("EndTime"), start = XmlFromLocal("start"), end = XmlFromLocal("end"),
            runningTime = XmlFromLocal("RunningTime"), useOpenGL = XmlFromLocal("UseOpenGL"),
            inputSurfaces = XmlFromLocal("NumberOfInputSurfaces"),
            inputMusicFile = XmlFromLocal("InputMusicFile"), trueText = XmlFromLocal("true"),
            hidden = XmlFromLocal("Hidden"), tempo = XmlFromLocal("Tempo"),
            beatsPerMinute = XmlFromLocal("BeatsPerMinute"), firstBeat = XmlFromLocal("FirstBeat"),
            beatsPerBar = XmlFromLocal("BeatsPerBar"), marker = XmlFromLocal("Marker"),
            time = XmlFromLocal("Time"), loopRange = XmlFromLocal("LoopRange"), in = XmlFromLocal("In"),
            out = XmlFromLocal("Out");
};

bool Equal(const XMLCh* a, const std::basic_string<XMLCh>& b) {
    const XMLCh* p = b.c_str();
    while (*a && *a == *p) {
        a++;
        p++;
    }
    return *a == *p;
}

// Decimal integer as strtoll reads it: leading blanks, optional sign, digits up
// to the first non-digit, saturating; anything else reads as 0.
int64_t ParseDecimal(const XMLCh* text) {
    while (*text == ' ' || (*text >= '\t' && *text <= '\r'))
        text++;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+') text++;
    uint64_t magnitude = 0;
    const uint64_t limit = negative ? (uint64_t)INT64_MAX + 1 : (uint64_t)INT64_MAX;
    for (; *text >= '0' && *text <= '9'; text++) {
        uint64_t digit = (uint64_t)(*text - '0');
        if (magnitude > (limit - digit) / 10) {
            magnitude = limit;
            for (; *text >= '0' && *text <= '9'; text++) {
            }
            break;
        }
        magnitude = magnitude * 10 + digit;
    }
    return negative ? (int64_t)(0 - magnitude) : (int64_t)magnitude;
}

// What one open element is to the demo; an element may be several things at
// once (a Track inside a Track is both an event of the outer and a track).
struct Frame {
    long library = -1;                  // this element is Library number `library`
    long functionLibrary = -1;          // this element is a function of that library...
    long function = -1;                 // ...at this index
    long track = -1;                    // this element is Track number `track`
    long eventTrack = -1, event = -1;   // this element is that event of that track
    std::vector<char*> paramNames;      // a function's parameter names so far
    std::vector<int32_t> starts, ends;  // an event's parameter values so far
};

struct TrackBuild {
    std::vector<DemoEvent> events;
    char* name = nullptr;
    bool hidden = false;
};

struct LibraryBuild {
    char* fileName = nullptr;
    std::vector<EffectFunction> functions;
};

// A demo file has no document type: refusing any DOCTYPE as soon as it is seen
// keeps entity definitions (and their amplification) out of the reader entirely.
class DemoReader : public SAX2XMLReaderImpl {
  public:
    void doctypeDecl(const DTDElementDecl&, const XMLCh* const, const XMLCh* const, const bool,
                     const bool) override {
        throw DocumentTypeRefused();
    }
};

class DemoHandler : public DefaultHandler {
  public:
    explicit DemoHandler(bool descriptive) : descriptive(descriptive) {}
    ~DemoHandler() override { Discard(); }

    bool missingAttribute = false; // an element lacked an attribute the reader reads
    bool sawRoot = false;
    bool sawSettings = false;

    // Moves what was read into `demo`; nothing is left to discard afterwards.
    void Deliver(DemoStruct& demo);

    void startElement(const XMLCh* const, const XMLCh* const, const XMLCh* const qname,
                      const Attributes& attrs) override;
    void endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) override;
    void characters(const XMLCh* const chars, const XMLSize_t length) override;
    void comment(const XMLCh* const chars, const XMLSize_t length) override;
    void processingInstruction(const XMLCh* const, const XMLCh* const data) override;
    void startCDATA() override;
    void endCDATA() override;
  private:
    const bool descriptive;
    const Names names;
    std::vector<Frame> stack; // never shrinks, so frames keep their vectors' room
    size_t depth = 0;
    std::vector<LibraryBuild> libraries;
    std::vector<TrackBuild> tracks;
    DemoStruct settings = {}; // also holds the optional tempo and loop range
    std::vector<DemoMarker> markers;
    bool sawTempo = false, sawLoopRange = false;

    // The summary texts: the first Author, Group and ExtraInfo element, each
    // taking the value of its first child node (text, CDATA, comment or PI).
    enum Summary { kAuthor, kGroup, kExtraInfo, kSummaryCount };
    bool summarySeen[kSummaryCount] = {};
    std::basic_string<XMLCh> summaryText[kSummaryCount];
    bool summaryHasValue[kSummaryCount] = {};
    int capturing = -1;      // summary text whose first child is still being read
    size_t capturingDepth = 0;
    enum Child { kNone, kText, kCData } child = kNone;
    bool inCData = false;

    const XMLCh* Required(const Attributes& attrs, const std::basic_string<XMLCh>& name) {
        const XMLCh* value = attrs.getValue(name.c_str());
        if (!value) missingAttribute = true;
        return value;
    }
    char* String(const Attributes& attrs, const std::basic_string<XMLCh>& name) {
        const XMLCh* value = Required(attrs, name);
        return value ? LocalFromXml(value) : nullptr;
    }
    uint32_t Unsigned(const Attributes& attrs, const std::basic_string<XMLCh>& name) {
        const XMLCh* value = Required(attrs, name);
        return value ? (uint32_t)ParseDecimal(value) : 0;
    }
    // The optional content: absent or unreadable values leave it unset, and
    // never fail the load.
    bool IsTrue(const XMLCh* value) const { return value && Equal(value, names.trueText); }
    char* OptionalString(const Attributes& attrs, const std::basic_string<XMLCh>& name) {
        const XMLCh* value = attrs.getValue(name.c_str());
        return value && *value ? LocalFromXml(value) : nullptr;
    }
    uint32_t OptionalUnsigned(const Attributes& attrs, const std::basic_string<XMLCh>& name) {
        const XMLCh* value = attrs.getValue(name.c_str());
        return value ? (uint32_t)ParseDecimal(value) : 0;
    }
    void ReadTempo(const Attributes& attrs);
    void ReadSettings(const Attributes& attrs);
    void StartSummaryText(int which);
    void EndFirstChild();
    void EndEvent(Frame& frame);
    void EndFunction(Frame& frame);
    void Discard();
};

void DemoHandler::startElement(const XMLCh* const, const XMLCh* const, const XMLCh* const qname,
                               const Attributes& attrs) {
    sawRoot = true;
    if (capturing >= 0) EndFirstChild();
    if (missingAttribute) return; // the load fails; read nothing more
    if (depth == stack.size()) stack.emplace_back();
    Frame& frame = stack[depth];
    Frame* parent = depth > 0 ? &stack[depth - 1] : nullptr;
    frame.library = frame.functionLibrary = frame.function = frame.track = frame.eventTrack = frame.event = -1;
    depth++;

    if (parent && parent->library >= 0) { // a function of the library
        LibraryBuild& lib = libraries[parent->library];
        lib.functions.push_back(EffectFunction());
        lib.functions.back().name = String(attrs, names.name);
        frame.functionLibrary = parent->library;
        frame.function = (long)lib.functions.size() - 1;
        frame.paramNames.clear();
    }
    if (parent && parent->function >= 0) // a parameter of the function
        parent->paramNames.push_back(descriptive ? String(attrs, names.name) : nullptr);
    if (parent && parent->track >= 0) { // an event of the track
        std::vector<DemoEvent>& events = tracks[parent->track].events;
        events.push_back(DemoEvent());
        DemoEvent& ev = events.back();
        ev.libraryFileName = String(attrs, names.libraryFileName);
        ev.functionName = String(attrs, names.functionName);
        ev.startTime = Unsigned(attrs, names.startTime) / 10 * 10;
        ev.endTime = Unsigned(attrs, names.endTime) / 10 * 10;
        ev.hidden = IsTrue(attrs.getValue(names.hidden.c_str()));
        frame.eventTrack = parent->track;
        frame.event = (long)events.size() - 1;
        frame.starts.clear();
        frame.ends.clear();
    }
    if (parent && parent->event >= 0 && Equal(qname, names.param)) { // a parameter of the event
        parent->starts.push_back((int32_t)(uint32_t)Unsigned(attrs, names.start));
        parent->ends.push_back((int32_t)(uint32_t)Unsigned(attrs, names.end));
    }
    if (Equal(qname, names.library)) {
        libraries.push_back(LibraryBuild());
        libraries.back().fileName = String(attrs, names.fileName);
        frame.library = (long)libraries.size() - 1;
    } else if (Equal(qname, names.track)) {
        tracks.emplace_back();
        frame.track = (long)tracks.size() - 1;
        tracks.back().hidden = IsTrue(attrs.getValue(names.hidden.c_str()));
        tracks.back().name = OptionalString(attrs, names.name);
    } else if (Equal(qname, names.settings)) {
        if (!sawSettings) ReadSettings(attrs);
        sawSettings = true;
    } else if (Equal(qname, names.marker)) {
        markers.push_back(DemoMarker());
        markers.back().time = OptionalUnsigned(attrs, names.time);
        markers.back().name = OptionalString(attrs, names.name);
        if (!markers.back().name) markers.back().name = CopyString("");
    } else if (Equal(qname, names.tempo)) {
        if (!sawTempo) ReadTempo(attrs);
        sawTempo = true;
    } else if (Equal(qname, names.loopRange)) {
        if (!sawLoopRange) {
            settings.hasLoopRange = attrs.getValue(names.in.c_str()) && attrs.getValue(names.out.c_str());
            settings.loopIn = OptionalUnsigned(attrs, names.in);
            settings.loopOut = OptionalUnsigned(attrs, names.out);
        }
        sawLoopRange = true;
    } else if (descriptive) {
        if (Equal(qname, names.author))
            StartSummaryText(kAuthor);
        else if (Equal(qname, names.group))
            StartSummaryText(kGroup);
        else if (Equal(qname, names.extraInfo))
            StartSummaryText(kExtraInfo);
    }
}

void DemoHandler::endElement(const XMLCh* const, const XMLCh* const, const XMLCh* const) {
    if (capturing >= 0 && depth == capturingDepth) EndFirstChild();
    if (missingAttribute || depth == 0) return;
    Frame& frame = stack[--depth];
    if (frame.event >= 0) EndEvent(frame);
    if (frame.function >= 0) EndFunction(frame);
}

void DemoHandler::EndEvent(Frame& frame) {
    DemoEvent& ev = tracks[frame.eventTrack].events[frame.event];
    size_t count = frame.starts.size();
    if (count == 0) return;
    ev.startValues = new int32_t[count];
    ev.endValues = new int32_t[count];
    std::copy(frame.starts.begin(), frame.starts.end(), ev.startValues);
    std::copy(frame.ends.begin(), frame.ends.end(), ev.endValues);
    ev.paramCount = (uint32_t)count;
}

void DemoHandler::EndFunction(Frame& frame) {
    EffectFunction& fn = libraries[frame.functionLibrary].functions[frame.function];
    size_t count = frame.paramNames.size();
    if (count == 0) return;
    fn.paramNames = new char*[count];
    std::copy(frame.paramNames.begin(), frame.paramNames.end(), fn.paramNames);
    fn.paramCount = (uint32_t)count;
    frame.paramNames.clear();
}

void DemoHandler::ReadSettings(const Attributes& attrs) {
    settings.runningTime = Unsigned(attrs, names.runningTime);
    const XMLCh* useOpenGL = Required(attrs, names.useOpenGL);
    settings.useOpenGL = useOpenGL && Equal(useOpenGL, names.trueText);
    settings.inputSurfaceCount = Unsigned(attrs, names.inputSurfaces);
    settings.inputMusicFile = String(attrs, names.inputMusicFile);
}

void DemoHandler::ReadTempo(const Attributes& attrs) {
    double bpm = 0;
    if (const XMLCh* value = attrs.getValue(names.beatsPerMinute.c_str())) {
        char* text = LocalFromXml(value);
        const char* begin = text;
        while (*begin == ' ')
            begin++;
        if (std::from_chars(begin, text + strlen(text), bpm).ec != std::errc()) bpm = 0;
        FreeString(text);
    }
    // A tempo the editor could not draw a grid for counts as none.
    if (!(bpm > 0 && bpm <= kMaxBeatsPerMinute)) return;
    settings.tempo.beatsPerMinute = bpm;
    settings.tempo.firstBeat = OptionalUnsigned(attrs, names.firstBeat);
    settings.tempo.beatsPerBar = OptionalUnsigned(attrs, names.beatsPerBar);
}

void DemoHandler::StartSummaryText(int which) {
    if (summarySeen[which]) return;
    summarySeen[which] = true;
    capturing = which;
    capturingDepth = depth;
    child = kNone;
}

// The first child node of the summary element is complete: keep its value.
void DemoHandler::EndFirstChild() {
    capturing = -1;
}

void DemoHandler::characters(const XMLCh* const chars, const XMLSize_t length) {
    if (capturing < 0 || depth != capturingDepth) return;
    if (child == kNone) {
        child = inCData ? kCData : kText;
        summaryHasValue[capturing] = true;
    }
    summaryText[capturing].append(chars, length);
}

void DemoHandler::comment(const XMLCh* const chars, const XMLSize_t length) {
    if (capturing < 0 || depth != capturingDepth) return;
    if (child == kNone) {
        summaryHasValue[capturing] = true;
        summaryText[capturing].assign(chars, length);
    }
    EndFirstChild();
}

void DemoHandler::processingInstruction(const XMLCh* const, const XMLCh* const data) {
    if (capturing < 0 || depth != capturingDepth) return;
    if (child == kNone) {
        summaryHasValue[capturing] = true;
        if (data) summaryText[capturing] = data;
    }
    EndFirstChild();
}

void DemoHandler::startCDATA() {
    inCData = true;
    if (capturing >= 0 && depth == capturingDepth && child != kNone) EndFirstChild();
}

void DemoHandler::endCDATA() {
    inCData = false;
    // A CDATA section is a node of its own; an empty one has an empty value.
    if (capturing >= 0 && depth == capturingDepth) {
        summaryHasValue[capturing] = true;
        EndFirstChild();
    }
}

void DemoHandler::Deliver(DemoStruct& demo) {
    demo.runningTime = settings.runningTime;
    demo.useOpenGL = settings.useOpenGL;
    demo.inputSurfaceCount = settings.inputSurfaceCount;
    demo.inputMusicFile = settings.inputMusicFile;
    settings.inputMusicFile = nullptr;
    demo.tempo = settings.tempo;
    demo.hasLoopRange = settings.hasLoopRange;
    demo.loopIn = settings.loopIn;
    demo.loopOut = settings.loopOut;
    if (!markers.empty()) {
        // Kept in time order; markers at the same time keep the file's order.
        std::stable_sort(markers.begin(), markers.end(),
                         [](const DemoMarker& a, const DemoMarker& b) { return a.time < b.time; });
        demo.markers = new DemoMarker[markers.size()];
        std::copy(markers.begin(), markers.end(), demo.markers);
        demo.markerCount = (uint32_t)markers.size();
        markers.clear();
    }
    char** texts[kSummaryCount] = {&demo.author, &demo.group, &demo.extraInfo};
    for (int i = 0; i < kSummaryCount; i++)
        *texts[i] = summaryHasValue[i] ? LocalFromXml(summaryText[i].c_str()) : nullptr;

    if (!libraries.empty()) {
        demo.libraries = new EffectLibrary[libraries.size()]();
        demo.libraryCount = (uint32_t)libraries.size();
        for (size_t l = 0; l < libraries.size(); l++) {
            EffectLibrary& lib = demo.libraries[l];
            lib.fileName = libraries[l].fileName;
            std::vector<EffectFunction>& functions = libraries[l].functions;
            if (functions.empty()) continue;
            lib.functions = new EffectFunction[functions.size()];
            std::copy(functions.begin(), functions.end(), lib.functions);
            lib.functionCount = (uint32_t)functions.size();
        }
        libraries.clear();
    }
    if (!tracks.empty()) {
        demo.tracks = new DemoTrack[tracks.size()]();
        demo.trackCount = (uint32_t)tracks.size();
        for (size_t t = 0; t < tracks.size(); t++) {
            DemoTrack& track = demo.tracks[t];
            track.name = tracks[t].name;
            track.hidden = tracks[t].hidden;
            tracks[t].name = nullptr;
            std::vector<DemoEvent>& events = tracks[t].events;
            if (events.empty()) continue;
            track.events = new DemoEvent[events.size()];
            std::copy(events.begin(), events.end(), track.events);
            track.eventCount = (uint32_t)events.size();
            for (uint32_t e = 1; e < track.eventCount; e++)
                LinkEvents(track.events[e - 1], track.events[e]);
            std::vector<DemoEvent>().swap(events);
        }
        tracks.clear();
    }
}

// Frees what was read when the load fails.
void DemoHandler::Discard() {
    for (size_t d = 0; d < depth; d++)
        if (stack[d].function >= 0)
            for (char*& name : stack[d].paramNames)
                FreeString(name);
    for (LibraryBuild& lib : libraries) {
        FreeString(lib.fileName);
        for (EffectFunction& fn : lib.functions) {
            FreeString(fn.name);
            for (uint32_t p = 0; p < fn.paramCount; p++)
                FreeString(fn.paramNames[p]);
            delete[] fn.paramNames;
        }
    }
    libraries.clear();
    for (TrackBuild& track : tracks) {
        for (DemoEvent& ev : track.events)
            ReleaseEvent(ev);
        FreeString(track.name);
    }
    for (DemoMarker& marker : markers)
        FreeString(marker.name);
    markers.clear();
    tracks.clear();
    FreeString(settings.inputMusicFile);
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
    const char* failure = nullptr;
    bool noDocument = false;
    {
        SecurityManager security;
        security.setEntityExpansionLimit(10000);
        std::unique_ptr<DemoReader> reader;
        std::unique_ptr<DemoHandler> handler;
        try {
            reader.reset(new DemoReader());
            handler.reset(new DemoHandler(withDescriptiveData));
            // Plain XML, as a demo file is: no namespaces, no validation, no schema;
            // never fetch external DTDs or entities, and bound entity expansion.
            reader->setFeature(XMLUni::fgSAX2CoreNameSpaces, false);
            reader->setFeature(XMLUni::fgSAX2CoreValidation, false);
            reader->setFeature(XMLUni::fgXercesSchema, false);
            reader->setFeature(XMLUni::fgXercesLoadExternalDTD, false);
            reader->setFeature(XMLUni::fgXercesDisableDefaultEntityResolution, true);
            reader->setProperty(XMLUni::fgXercesSecurityManager, &security);
            reader->setContentHandler(handler.get());
            reader->setLexicalHandler(handler.get());
            if (!Readable(path)) {
                noDocument = true;
            } else {
                reader->parse(path);
                if (reader->getErrorCount() > 0 || handler->missingAttribute)
                    failure = kLoadError;
                else if (!handler->sawRoot)
                    noDocument = true;
                else if (!handler->sawSettings)
                    failure = kLoadError;
                else
                    handler->Deliver(demo);
            }
        } catch (const XMLException&) {
            failure = kXmlLoadError;
        } catch (...) {
            failure = kLoadError;
        }
    }
    XMLPlatformUtils::Terminate();
    if (noDocument) throw BasicException::Format("Couldn't load the demo %s, does this file exists?", path);
    if (failure) throw BasicException(failure);
}
