// Queries, setters and structural edits of the current demo. Every index is
// checked before use: an index from a stale selection simply finds nothing, and
// a failing edit leaves the demo exactly as it was.
#include "demo_operations.h"

#include <cstring>
#include <string>
#include <vector>

#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLException.hpp>

#include "engine.h"
#include "xml_text.h"

const char* const kNoTrackOrEventText = "Couldn't find track or event!";
const char* const kNoNameText = "No Name";
const char* const kNoMusicText = "No music selected!";
const char* const kUnknownText = "Unknown";
const char* const kNoCommentText = "No comment...";

namespace {

bool SameName(const char* a, const char* b) {
    return a && b && strcmp(a, b) == 0;
}

// Name of parameter k of `f`, or null when the description has none.
const char* ParamNameOf(const EffectFunction* f, uint32_t k) {
    if (!f || k >= f->paramCount || !f->paramNames) return nullptr;
    return f->paramNames[k];
}

uint32_t EndAfter(uint32_t start, uint32_t length) {
    // A new event near the end of the clock stops at its last millisecond.
    return start > UINT32_MAX - length ? UINT32_MAX : start + length;
}

int32_t* CopyValues(const int32_t* values, uint32_t count) {
    if (count == 0 || !values) return nullptr;
    int32_t* copy = new int32_t[count];
    memcpy(copy, values, count * sizeof(int32_t));
    return copy;
}

// Inserts `e` at `index` into a new array one element longer.
void InsertEventAt(DemoTrack& track, uint32_t index, const DemoEvent& e) {
    DemoEvent* bigger = new DemoEvent[track.eventCount + 1]();
    for (uint32_t i = 0; i < index; i++)
        bigger[i] = track.events[i];
    bigger[index] = e;
    for (uint32_t i = index; i < track.eventCount; i++)
        bigger[i + 1] = track.events[i];
    delete[] track.events;
    track.events = bigger;
    track.eventCount++;
}

// First event starting after `time`, or eventCount: new events go after
// every event that starts at or before it.
uint32_t InsertPosition(const DemoTrack& track, uint32_t time) {
    for (uint32_t i = 0; i < track.eventCount; i++)
        if (track.events[i].startTime > time) return i;
    return track.eventCount;
}

} // namespace

// [SECTION] Ownership

DemoOperations::~DemoOperations() {
    if (ownsDemo) ReplaceDemo(nullptr);
}

void DemoOperations::ReplaceDemo(DemoStruct* next) {
    DemoStruct* old = demo;
    demo = next;
    if (ownsDemo && old && old != next) {
        ReleaseDemo(*old);
        delete old;
    }
}

// [SECTION] Lookups

DemoTrack* DemoOperations::Track(uint32_t track) const {
    if (!demo || track >= demo->trackCount || !demo->tracks) return nullptr;
    return &demo->tracks[track];
}

DemoEvent* DemoOperations::Event(uint32_t track, uint32_t event) const {
    DemoTrack* t = Track(track);
    if (!t || event >= t->eventCount || !t->events) return nullptr;
    return &t->events[event];
}

const EffectFunction* DemoOperations::Function(uint32_t lib, uint32_t fn) const {
    if (!demo || lib >= demo->libraryCount || !demo->libraries) return nullptr;
    const EffectLibrary& l = demo->libraries[lib];
    if (fn >= l.functionCount || !l.functions) return nullptr;
    return &l.functions[fn];
}

// [SECTION] Demo-level queries and setters

uint32_t DemoOperations::GetRunningTime() const {
    return demo ? demo->runningTime : 0;
}

void DemoOperations::SetRunningTime(uint32_t ms) {
    if (demo) demo->runningTime = ms;
}

const char* DemoOperations::GetMusicFile() const {
    if (!demo) return nullptr;
    return demo->inputMusicFile ? demo->inputMusicFile : kNoMusicText;
}

const char* DemoOperations::GetAuthor() const {
    if (!demo) return nullptr;
    return demo->author ? demo->author : kUnknownText;
}

const char* DemoOperations::GetGroup() const {
    if (!demo) return nullptr;
    return demo->group ? demo->group : kUnknownText;
}

const char* DemoOperations::GetExtraInfo() const {
    if (!demo) return nullptr;
    return demo->extraInfo ? demo->extraInfo : kNoCommentText;
}

void DemoOperations::SetText(char*& field, const char* text) {
    // Copy first: `text` may be the field's own current text.
    char* copy = CopyText(text);
    FreeString(field);
    field = copy;
}

void DemoOperations::SetMusicFile(const char* text) {
    if (demo) SetText(demo->inputMusicFile, text);
}

void DemoOperations::SetAuthor(const char* text) {
    if (demo) SetText(demo->author, text);
}

void DemoOperations::SetGroup(const char* text) {
    if (demo) SetText(demo->group, text);
}

void DemoOperations::SetExtraInfo(const char* text) {
    if (demo) SetText(demo->extraInfo, text);
}

uint32_t DemoOperations::TrackCount() const {
    return demo ? demo->trackCount : 0;
}

uint32_t DemoOperations::LibraryCount() const {
    return demo ? demo->libraryCount : 0;
}

const char* DemoOperations::LibraryName(uint32_t lib) const {
    if (!demo || lib >= demo->libraryCount || !demo->libraries || !demo->libraries[lib].fileName)
        return kNoNameText;
    return demo->libraries[lib].fileName;
}

uint32_t DemoOperations::FunctionCount(uint32_t lib) const {
    if (!demo || lib >= demo->libraryCount || !demo->libraries) return 0;
    return demo->libraries[lib].functionCount;
}

const char* DemoOperations::FunctionName(uint32_t lib, uint32_t fn) const {
    const EffectFunction* f = Function(lib, fn);
    return f && f->name ? f->name : kNoNameText;
}

uint32_t DemoOperations::FunctionParamCount(uint32_t lib, uint32_t fn) const {
    const EffectFunction* f = Function(lib, fn);
    return f ? f->paramCount : 0;
}

bool DemoOperations::GetTrackHidden(uint32_t track) const {
    const DemoTrack* t = Track(track);
    return t && t->hidden;
}

void DemoOperations::SetTrackHidden(uint32_t track, bool flag) {
    if (DemoTrack* t = Track(track)) t->hidden = flag;
}

bool DemoOperations::GetEventHidden(uint32_t track, uint32_t event) const {
    const DemoEvent* e = Event(track, event);
    return e && e->hidden;
}

void DemoOperations::SetEventHidden(uint32_t track, uint32_t event, bool flag) {
    if (DemoEvent* e = Event(track, event)) e->hidden = flag;
}

// [SECTION] Per-track and per-event queries

uint32_t DemoOperations::EventCount(uint32_t track) const {
    const DemoTrack* t = Track(track);
    return t ? t->eventCount : 0;
}

uint32_t DemoOperations::EventStart(uint32_t track, uint32_t event) const {
    const DemoEvent* e = Event(track, event);
    return e ? e->startTime : 0;
}

uint32_t DemoOperations::EventEnd(uint32_t track, uint32_t event) const {
    const DemoEvent* e = Event(track, event);
    return e ? e->endTime : 0;
}

const char* DemoOperations::EventFunctionName(uint32_t track, uint32_t event) const {
    const DemoEvent* e = Event(track, event);
    return e && e->functionName ? e->functionName : kNoTrackOrEventText;
}

uint32_t DemoOperations::EventParamCount(uint32_t track, uint32_t event) const {
    const DemoEvent* e = Event(track, event);
    return e ? e->paramCount : 0;
}

int32_t DemoOperations::EventStartValue(uint32_t track, uint32_t event, uint32_t param) const {
    const DemoEvent* e = Event(track, event);
    return e && param < e->paramCount && e->startValues ? e->startValues[param] : 0;
}

int32_t DemoOperations::EventEndValue(uint32_t track, uint32_t event, uint32_t param) const {
    const DemoEvent* e = Event(track, event);
    return e && param < e->paramCount && e->endValues ? e->endValues[param] : 0;
}

const char* DemoOperations::EventParamName(uint32_t track, uint32_t event, uint32_t param) const {
    const DemoEvent* e = Event(track, event);
    if (!e || param >= e->paramCount) return kNoNameText;
    // The event may carry more values than its function describes.
    const char* name = ParamNameOf(FindFunction(e->functionName), param);
    return name ? name : kNoNameText;
}

DemoEvent* DemoOperations::GetEvent(uint32_t track, uint32_t event) const {
    return Event(track, event);
}

int32_t DemoOperations::EventValueAt(uint32_t track, uint32_t event, uint32_t param, uint32_t t) const {
    const DemoEvent* e = Event(track, event);
    if (!e || param >= e->paramCount || !e->startValues || !e->endValues) return 0;
    const DemoTrack& tr = demo->tracks[track];
    const DemoEvent* previous = event > 0 ? &tr.events[event - 1] : nullptr;
    const DemoEvent* next = event + 1 < tr.eventCount ? &tr.events[event + 1] : nullptr;
    std::vector<int32_t> values(e->paramCount);
    EvaluateParams(t, previous, *e, next, values.data());
    return values[param];
}

PositionParams DemoOperations::FindPositionParams(uint32_t track, uint32_t event) const {
    const uint32_t n = EventParamCount(track, event);
    PositionParams p = {n, n, false};
    for (uint32_t i = 0; i < n; i++) {
        const char* name = EventParamName(track, event, i);
        if (strcmp(name, "PosX") == 0)
            p.x = i;
        else if (strcmp(name, "PosY") == 0)
            p.y = i;
    }
    p.found = p.x < n && p.y < n;
    return p;
}

bool DemoOperations::EventContinues(uint32_t track, uint32_t event) {
    if (!RelinkEvent(track, event)) return false;
    return demo->tracks[track].events[event].continuesIntoNext;
}

// [SECTION] Structural edits of tracks

bool DemoOperations::InsertTrack(uint32_t index) {
    if (!demo || index > demo->trackCount) return false;
    DemoTrack* bigger = new DemoTrack[demo->trackCount + 1]();
    for (uint32_t i = 0; i < index; i++)
        bigger[i] = demo->tracks[i];
    for (uint32_t i = index; i < demo->trackCount; i++)
        bigger[i + 1] = demo->tracks[i];
    delete[] demo->tracks;
    demo->tracks = bigger;
    demo->trackCount++;
    return true;
}

bool DemoOperations::DeleteTrack(uint32_t track) {
    DemoTrack* t = Track(track);
    if (!t) return false;
    for (uint32_t e = 0; e < t->eventCount && t->events; e++)
        ReleaseEvent(t->events[e]);
    delete[] t->events;
    FreeString(t->name);
    for (uint32_t i = track; i + 1 < demo->trackCount; i++)
        demo->tracks[i] = demo->tracks[i + 1];
    demo->trackCount--;
    demo->tracks[demo->trackCount] = DemoTrack();
    return true;
}

bool DemoOperations::SwapTracks(uint32_t a, uint32_t b) {
    DemoTrack* ta = Track(a);
    DemoTrack* tb = Track(b);
    if (!ta || !tb || a == b) return false;
    DemoTrack keep = *ta;
    *ta = *tb;
    *tb = keep;
    return true;
}

// [SECTION] Structural edits of events

int32_t DemoOperations::AddEvent(uint32_t track, uint32_t time, uint32_t lib, uint32_t fn) {
    DemoTrack* t = Track(track);
    const EffectFunction* f = Function(lib, fn);
    if (!t || !f) return -1;

    DemoEvent e = DemoEvent();
    e.startTime = time;
    e.endTime = EndAfter(time, kNewEventLength);
    e.functionName = CopyText(FunctionName(lib, fn));
    e.libraryFileName = CopyText(LibraryName(lib));
    e.effect = f->entry;
    e.paramCount = f->paramCount;
    if (e.paramCount > 0) {
        e.startValues = new int32_t[e.paramCount];
        e.endValues = new int32_t[e.paramCount];
        for (uint32_t k = 0; k < e.paramCount; k++)
            e.startValues[k] = e.endValues[k] = DefaultParamValue(ParamNameOf(f, k));
    }
    const uint32_t p = InsertPosition(*t, time);
    InsertEventAt(*t, p, e);
    return (int32_t)p;
}

int32_t DemoOperations::AddContinuingEvent(uint32_t track, uint32_t event) {
    DemoEvent* source = Event(track, event);
    if (!source) return -1;

    DemoEvent e = DemoEvent();
    e.startTime = source->endTime;
    e.endTime = EndAfter(source->endTime, kNewEventLength);
    e.functionName = CopyText(source->functionName);
    e.libraryFileName = CopyText(source->libraryFileName);
    e.effect = source->effect;
    e.paramCount = source->paramCount;
    e.startValues = CopyValues(source->endValues, source->paramCount);
    e.endValues = CopyValues(source->endValues, source->paramCount);

    DemoTrack& t = demo->tracks[track];
    InsertEventAt(t, event + 1, e);
    t.events[event].continuesIntoNext = true;
    return (int32_t)(event + 1);
}

bool DemoOperations::DeleteEvent(uint32_t track, uint32_t event) {
    if (!Event(track, event)) return false;
    DemoTrack& t = demo->tracks[track];
    if (event > 0) t.events[event - 1].continuesIntoNext = false;
    ReleaseEvent(t.events[event]);
    for (uint32_t i = event; i + 1 < t.eventCount; i++)
        t.events[i] = t.events[i + 1];
    t.eventCount--;
    t.events[t.eventCount] = DemoEvent();
    return true;
}

int32_t DemoOperations::MoveEventToTrack(uint32_t track, uint32_t event, uint32_t target) {
    const DemoEvent* source = Event(track, event);
    DemoTrack* to = Track(target);
    if (!source || !to) return -1;

    DemoEvent copy = DemoEvent();
    copy.startTime = source->startTime;
    copy.endTime = source->endTime;
    copy.effect = source->effect;
    copy.hidden = source->hidden;
    copy.paramCount = source->paramCount;
    copy.functionName = CopyText(source->functionName);
    copy.libraryFileName = CopyText(source->libraryFileName);
    copy.startValues = CopyValues(source->startValues, source->paramCount);
    copy.endValues = CopyValues(source->endValues, source->paramCount);

    uint32_t p = InsertPosition(*to, source->startTime);
    InsertEventAt(*to, p, copy);
    // Within one track the insertion shifts the original and the removal the copy.
    uint32_t old = event;
    if (target == track && p <= event) old = event + 1;
    DeleteEvent(track, old);
    if (target == track && p > old) p--;
    return (int32_t)p;
}

bool DemoOperations::ChangeEffect(uint32_t track, uint32_t event, uint32_t lib, uint32_t fn) {
    DemoEvent* e = Event(track, event);
    const EffectFunction* f = Function(lib, fn);
    if (!e || !f) return false;

    const EffectFunction* old = FindFunction(e->functionName);
    const uint32_t m = e->paramCount;
    const uint32_t n = f->paramCount;
    const bool hasValues = e->startValues && e->endValues;
    int32_t* starts = n ? new int32_t[n] : nullptr;
    int32_t* ends = n ? new int32_t[n] : nullptr;
    for (uint32_t k = 0; k < n; k++) {
        const char* name = ParamNameOf(f, k);
        starts[k] = ends[k] = DefaultParamValue(name);
        for (uint32_t j = 0; old && name && hasValues && j < m && j < old->paramCount; j++) {
            if (SameName(ParamNameOf(old, j), name)) {
                starts[k] = e->startValues[j];
                ends[k] = e->endValues[j];
                break;
            }
        }
    }
    delete[] e->startValues;
    delete[] e->endValues;
    e->startValues = starts;
    e->endValues = ends;
    e->paramCount = n;
    e->continuesIntoNext = false;

    char* name = CopyText(f->name);
    FreeString(e->functionName);
    e->functionName = name;
    char* library = CopyText(LibraryName(lib));
    FreeString(e->libraryFileName);
    e->libraryFileName = library;
    e->effect = f->entry;
    RelinkEvent(track, event);
    return true;
}

bool DemoOperations::RelinkEvent(uint32_t track, uint32_t event) {
    DemoEvent* e = Event(track, event);
    if (!e) return false;
    DemoTrack& t = demo->tracks[track];
    if (event > 0) LinkEvents(t.events[event - 1], *e);
    if (event + 1 < t.eventCount)
        LinkEvents(*e, t.events[event + 1]);
    else
        e->continuesIntoNext = false;
    return true;
}

int32_t DemoOperations::SortTrackEvents(uint32_t track, int32_t selected) {
    DemoTrack* t = Track(track);
    if (!t || t->eventCount < 2 || !t->events) return selected;
    uint32_t limit = t->eventCount - 1;
    bool swapped = true;
    while (limit > 0 && swapped) {
        swapped = false;
        for (uint32_t i = 0; i < limit; i++) {
            if (t->events[i].startTime > t->events[i + 1].startTime) {
                DemoEvent keep = t->events[i];
                t->events[i] = t->events[i + 1];
                t->events[i + 1] = keep;
                swapped = true;
                if (selected == (int32_t)i)
                    selected = (int32_t)(i + 1);
                else if (selected == (int32_t)(i + 1))
                    selected = (int32_t)i;
            }
        }
        limit--;
    }
    return selected;
}

// [SECTION] Support operations

const EffectFunction* DemoOperations::FindFunction(const char* name) const {
    if (!demo || !name || !demo->libraries) return nullptr;
    for (uint32_t l = 0; l < demo->libraryCount; l++) {
        const EffectLibrary& lib = demo->libraries[l];
        for (uint32_t f = 0; f < lib.functionCount && lib.functions; f++)
            if (SameName(lib.functions[f].name, name)) return &lib.functions[f];
    }
    return nullptr;
}

int32_t DemoOperations::DefaultParamValue(const char* name) {
    if (!name) return 0;
    if (strcmp(name, "PosX") == 0) return 4000;
    if (strcmp(name, "PosY") == 0) return 3000;
    if (strcmp(name, "Scale") == 0) return 1000;
    if (strcmp(name, "Opacity") == 0) return 255;
    if (strcmp(name, "Brightness") == 0) return 1000;
    return 0;
}

char* DemoOperations::CopyText(const char* text) {
    using xercesc::XMLPlatformUtils;
    bool initialised = false;
    try {
        XMLPlatformUtils::Initialize();
        initialised = true;
    } catch (const xercesc::XMLException&) {
        // The round trip below needs no more than the XML character type.
    }
    std::basic_string<XMLCh> wide = XmlFromLocal(text ? text : "");
    if (wide.size() > kMaxTextLength) wide.resize(kMaxTextLength);
    char* copy = LocalFromXml(wide.c_str());
    if (initialised) XMLPlatformUtils::Terminate();
    return copy;
}
