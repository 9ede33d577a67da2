// The undo history and the demo content it records: a compact byte image of
// everything the editor can change, one blob for the settings and one per track.
#include "undo_history.h"

#include <cstring>
#include <unordered_set>

namespace {

// [SECTION] Byte images

class Writer {
  public:
    explicit Writer(std::vector<uint8_t>& out_) : out(out_) {}
    void U8(uint8_t v) { out.push_back(v); }
    void U32(uint32_t v) { Raw(&v, sizeof v); }
    void I32s(const int32_t* v, uint32_t n) {
        if (n) Raw(v, n * sizeof(int32_t));
    }
    void F64(double v) { Raw(&v, sizeof v); }
    void Text(const char* s) {
        U8(s ? 1 : 0);
        if (!s) return;
        uint32_t n = (uint32_t)strlen(s);
        U32(n);
        Raw(s, n);
    }

  private:
    void Raw(const void* p, size_t n) {
        const uint8_t* b = static_cast<const uint8_t*>(p);
        out.insert(out.end(), b, b + n);
    }
    std::vector<uint8_t>& out;
};

// Reads what Writer wrote; the images are made here, so a short read is a bug.
class Reader {
  public:
    explicit Reader(const std::vector<uint8_t>& in_) : in(in_) {}
    uint8_t U8() { return in[at++]; }
    uint32_t U32() {
        uint32_t v;
        Raw(&v, sizeof v);
        return v;
    }
    void I32s(int32_t* v, uint32_t n) {
        if (n) Raw(v, n * sizeof(int32_t));
    }
    double F64() {
        double v;
        Raw(&v, sizeof v);
        return v;
    }
    char* Text() {
        if (!U8()) return nullptr;
        uint32_t n = U32();
        char* s = new char[n + 1];
        Raw(s, n);
        s[n] = 0;
        return s;
    }

  private:
    void Raw(void* p, size_t n) {
        memcpy(p, in.data() + at, n);
        at += n;
    }
    const std::vector<uint8_t>& in;
    size_t at = 0;
};

void WriteSettings(const DemoStruct& demo, std::vector<uint8_t>& out) {
    Writer w(out);
    w.U32(demo.runningTime);
    w.U8(demo.useOpenGL);
    w.U32(demo.inputSurfaceCount);
    w.Text(demo.inputMusicFile);
    w.Text(demo.author);
    w.Text(demo.group);
    w.Text(demo.extraInfo);
    w.F64(demo.tempo.beatsPerMinute);
    w.U32(demo.tempo.firstBeat);
    w.U32(demo.tempo.beatsPerBar);
    w.U32(demo.markers ? demo.markerCount : 0);
    for (uint32_t m = 0; demo.markers && m < demo.markerCount; m++) {
        w.U32(demo.markers[m].time);
        w.Text(demo.markers[m].name);
    }
    w.U8(demo.hasLoopRange);
    w.U32(demo.loopIn);
    w.U32(demo.loopOut);
}

void WriteTrack(const DemoTrack& track, std::vector<uint8_t>& out) {
    Writer w(out);
    w.U8(track.hidden);
    w.Text(track.name);
    uint32_t count = track.events ? track.eventCount : 0;
    w.U32(count);
    for (uint32_t e = 0; e < count; e++) {
        const DemoEvent& ev = track.events[e];
        w.U32(ev.startTime);
        w.U32(ev.endTime);
        w.U8(ev.hidden);
        w.U8(ev.continuesIntoNext);
        w.Text(ev.libraryFileName);
        w.Text(ev.functionName);
        uint32_t params = ev.startValues && ev.endValues ? ev.paramCount : 0;
        w.U32(params);
        w.I32s(ev.startValues, params);
        w.I32s(ev.endValues, params);
    }
}

void ReleaseTracks(DemoStruct& demo) {
    for (uint32_t t = 0; t < demo.trackCount && demo.tracks; t++) {
        DemoTrack& track = demo.tracks[t];
        for (uint32_t e = 0; e < track.eventCount && track.events; e++)
            ReleaseEvent(track.events[e]);
        delete[] track.events;
        FreeString(track.name);
    }
    delete[] demo.tracks;
    demo.tracks = nullptr;
    demo.trackCount = 0;
}

EffectProc FindEntry(const DemoStruct& demo, const char* library, const char* function) {
    if (!library || !function) return nullptr;
    for (uint32_t l = 0; l < demo.libraryCount && demo.libraries; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        if (!lib.fileName || strcmp(lib.fileName, library) != 0) continue;
        for (uint32_t f = 0; f < lib.functionCount && lib.functions; f++)
            if (lib.functions[f].name && strcmp(lib.functions[f].name, function) == 0)
                return lib.functions[f].entry;
    }
    return nullptr;
}

void ReadTrack(const DemoStruct& demo, const std::vector<uint8_t>& blob, DemoTrack& track) {
    Reader r(blob);
    track.hidden = r.U8() != 0;
    track.name = r.Text();
    track.eventCount = r.U32();
    track.events = track.eventCount ? new DemoEvent[track.eventCount]() : nullptr;
    for (uint32_t e = 0; e < track.eventCount; e++) {
        DemoEvent& ev = track.events[e];
        ev.startTime = r.U32();
        ev.endTime = r.U32();
        ev.hidden = r.U8() != 0;
        ev.continuesIntoNext = r.U8() != 0;
        ev.libraryFileName = r.Text();
        ev.functionName = r.Text();
        ev.paramCount = r.U32();
        if (ev.paramCount) {
            ev.startValues = new int32_t[ev.paramCount];
            ev.endValues = new int32_t[ev.paramCount];
            r.I32s(ev.startValues, ev.paramCount);
            r.I32s(ev.endValues, ev.paramCount);
        }
        ev.effect = FindEntry(demo, ev.libraryFileName, ev.functionName);
    }
}

} // namespace

size_t DemoContent::Bytes() const {
    size_t n = settings.size();
    for (const auto& t : tracks)
        n += t->size();
    return n;
}

DemoContent CaptureDemoContent(const DemoStruct& demo, const DemoContent* previous) {
    DemoContent content;
    WriteSettings(demo, content.settings);
    uint32_t count = demo.tracks ? demo.trackCount : 0;
    content.tracks.reserve(count);
    for (uint32_t t = 0; t < count; t++) {
        auto blob = std::make_shared<std::vector<uint8_t>>();
        WriteTrack(demo.tracks[t], *blob);
        if (previous && t < previous->tracks.size() && *previous->tracks[t] == *blob)
            content.tracks.push_back(previous->tracks[t]);
        else
            content.tracks.push_back(std::move(blob));
    }
    return content;
}

void ApplyDemoContent(DemoStruct& demo, const DemoContent& content) {
    Reader r(content.settings);
    demo.runningTime = r.U32();
    demo.useOpenGL = r.U8() != 0;
    demo.inputSurfaceCount = r.U32();
    FreeString(demo.inputMusicFile);
    FreeString(demo.author);
    FreeString(demo.group);
    FreeString(demo.extraInfo);
    demo.inputMusicFile = r.Text();
    demo.author = r.Text();
    demo.group = r.Text();
    demo.extraInfo = r.Text();
    demo.tempo.beatsPerMinute = r.F64();
    demo.tempo.firstBeat = r.U32();
    demo.tempo.beatsPerBar = r.U32();
    for (uint32_t m = 0; m < demo.markerCount && demo.markers; m++)
        FreeString(demo.markers[m].name);
    delete[] demo.markers;
    demo.markerCount = r.U32();
    demo.markers = demo.markerCount ? new DemoMarker[demo.markerCount]() : nullptr;
    for (uint32_t m = 0; m < demo.markerCount; m++) {
        demo.markers[m].time = r.U32();
        demo.markers[m].name = r.Text();
    }
    demo.hasLoopRange = r.U8() != 0;
    demo.loopIn = r.U32();
    demo.loopOut = r.U32();

    ReleaseTracks(demo);
    demo.trackCount = (uint32_t)content.tracks.size();
    demo.tracks = demo.trackCount ? new DemoTrack[demo.trackCount]() : nullptr;
    for (uint32_t t = 0; t < demo.trackCount; t++)
        ReadTrack(demo, *content.tracks[t], demo.tracks[t]);
}

bool SameDemoContent(const DemoContent& a, const DemoContent& b) {
    if (a.settings != b.settings || a.tracks.size() != b.tracks.size()) return false;
    for (size_t t = 0; t < a.tracks.size(); t++)
        if (a.tracks[t] != b.tracks[t] && *a.tracks[t] != *b.tracks[t]) return false;
    return true;
}

// [SECTION] History

const DemoContent* UndoHistory::Newest() const {
    if (!undoSteps.empty()) return &undoSteps.back().content;
    if (!redoSteps.empty()) return &redoSteps.back().content;
    return nullptr;
}

void UndoHistory::Record(const DemoStruct& demo, const char* name, const EditSelection& selection) {
    Step step;
    step.name = name ? name : "";
    step.content = CaptureDemoContent(demo, Newest());
    step.selection = selection;
    step.revision = revision;
    undoSteps.push_back(std::move(step));
    stashedRedo = std::move(redoSteps);
    redoSteps.clear();
    revision = nextRevision++;
    Trim();
}

bool UndoHistory::DropIfUnchanged(const DemoStruct& demo) {
    if (undoSteps.empty()) return false;
    Step& last = undoSteps.back();
    if (!SameDemoContent(CaptureDemoContent(demo, &last.content), last.content)) return false;
    revision = last.revision;
    undoSteps.pop_back();
    if (redoSteps.empty()) redoSteps = std::move(stashedRedo);
    stashedRedo.clear();
    return true;
}

const char* UndoHistory::UndoName() const {
    return undoSteps.empty() ? "" : undoSteps.back().name.c_str();
}

const char* UndoHistory::RedoName() const {
    return redoSteps.empty() ? "" : redoSteps.back().name.c_str();
}

bool UndoHistory::Undo(DemoStruct& demo, EditSelection& selection, std::string& name) {
    if (undoSteps.empty()) return false;
    Step step = std::move(undoSteps.back());
    undoSteps.pop_back();
    Step back;
    back.name = step.name;
    back.content = CaptureDemoContent(demo, &step.content);
    back.selection = selection;
    back.revision = revision;
    redoSteps.push_back(std::move(back));
    stashedRedo.clear();
    ApplyDemoContent(demo, step.content);
    revision = step.revision;
    selection = step.selection;
    name = step.name;
    return true;
}

bool UndoHistory::Redo(DemoStruct& demo, EditSelection& selection, std::string& name) {
    if (redoSteps.empty()) return false;
    Step step = std::move(redoSteps.back());
    redoSteps.pop_back();
    Step back;
    back.name = step.name;
    back.content = CaptureDemoContent(demo, &step.content);
    back.selection = selection;
    back.revision = revision;
    undoSteps.push_back(std::move(back));
    stashedRedo.clear();
    ApplyDemoContent(demo, step.content);
    revision = step.revision;
    selection = step.selection;
    name = step.name;
    return true;
}

void UndoHistory::Clear() {
    undoSteps.clear();
    redoSteps.clear();
    stashedRedo.clear();
    revision = savedRevision = 0;
    nextRevision = 1;
}

size_t UndoHistory::Bytes() const {
    std::unordered_set<const void*> seen;
    size_t n = 0;
    auto count = [&](const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            n += s.content.settings.size();
            for (const auto& t : s.content.tracks)
                if (seen.insert(t.get()).second) n += t->size();
        }
    };
    count(undoSteps);
    count(redoSteps);
    return n;
}

void UndoHistory::Trim() {
    // The oldest steps go first; the newest one always stays.
    while (undoSteps.size() > 1 && (undoSteps.size() > kMaxSteps || Bytes() > kMaxBytes))
        undoSteps.erase(undoSteps.begin());
}
