// Writing the demo file: the XML is streamed straight into a memory buffer in
// the layout the program has always written (two-space indentation, attributes
// in alphabetical order, blank lines around the root's children), then the
// buffer goes to disk through a checked temporary file (checked_file.h).
// Strings in memory are windows-1252 like the file, so bytes are copied as they
// are; only markup characters and control characters need care.
#include "demo_writer.h"

#include "checked_file.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

class XmlOut {
  public:
    std::string bytes;
    uint32_t replaced = 0; // control characters XML 1.0 cannot hold, written as '?'

    // <name, then attributes through Attr, then Close(hasChildren).
    void Open(int depth, const char* name) {
        Indent(depth);
        bytes += '<';
        bytes += name;
    }
    void Attr(const char* name, const char* value) {
        bytes += ' ';
        bytes += name;
        bytes += "=\"";
        Escaped(value ? value : "", true);
        bytes += '"';
    }
    void Attr(const char* name, long value) {
        char number[24];
        snprintf(number, sizeof number, "%ld", value);
        Attr(name, number);
    }
    // Ends the start tag; an element without children is written empty.
    void Close(bool hasChildren) { bytes += hasChildren ? ">\n" : "/>\n"; }
    void End(int depth, const char* name) {
        Indent(depth);
        bytes += "</";
        bytes += name;
        bytes += ">\n";
    }
    // <name>text</name> on one line; an empty text still gets both tags.
    void TextElement(int depth, const char* name, const char* text) {
        Open(depth, name);
        bytes += '>';
        Escaped(text ? text : "", false);
        bytes += "</";
        bytes += name;
        bytes += '>';
        // The layout files have always had: after a text of white space only
        // that holds a line break, the next tag follows on the same line, and
        // every two characters after the last break take one level of indentation off.
        int tail = WhiteSpaceLineTail(text ? text : "");
        if (tail < 0)
            bytes += '\n';
        else
            outdent = (tail + 1) / 2;
    }

  private:
    int outdent = 0; // levels the next tag's indentation loses

    void Indent(int depth) {
        depth = depth > outdent ? depth - outdent : 0;
        outdent = 0;
        bytes.append((size_t)depth * 2, ' ');
    }
    // For a text of spaces, tabs and line breaks with at least one break: the
    // number of characters after the last line feed (after the last carriage
    // return when there is no line feed). Otherwise -1.
    static int WhiteSpaceLineTail(const char* text) {
        int afterLineFeed = -1, afterReturn = -1;
        for (const char* p = text; *p; p++) {
            if (*p != ' ' && *p != '\t' && *p != '\n' && *p != '\r') return -1;
            if (afterLineFeed >= 0) afterLineFeed++;
            if (afterReturn >= 0) afterReturn++;
            if (*p == '\n') afterLineFeed = 0;
            if (*p == '\r') afterReturn = 0;
        }
        return afterLineFeed >= 0 ? afterLineFeed : afterReturn;
    }

    void Escaped(const char* text, bool attribute) {
        for (const unsigned char* p = (const unsigned char*)text; *p; p++) {
            unsigned char c = *p;
            switch (c) {
            case '&': bytes += "&amp;"; break;
            case '<': bytes += "&lt;"; break;
            case '>': attribute ? bytes += '>' : bytes += "&gt;"; break;
            case '"': attribute ? bytes += "&quot;" : bytes += '"'; break;
            // An attribute value's white space would be normalised to spaces on
            // reading, and a carriage return anywhere to a line feed: references keep them.
            case '\t': attribute ? bytes += "&#x9;" : bytes += '\t'; break;
            case '\n': attribute ? bytes += "&#xA;" : bytes += '\n'; break;
            case '\r': bytes += "&#xD;"; break;
            default:
                if (c < 0x20) {
                    bytes += '?';
                    replaced++;
                } else {
                    bytes += (char)c;
                }
            }
        }
    }
};

void WriteLibraries(XmlOut& out, const DemoStruct& demo) {
    out.Open(1, "Libraries");
    out.Close(demo.libraryCount > 0);
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        out.Open(2, "Library");
        out.Attr("FileName", lib.fileName);
        out.Close(lib.functionCount > 0);
        for (uint32_t f = 0; f < lib.functionCount; f++) {
            const EffectFunction& fn = lib.functions[f];
            out.Open(3, "Function");
            out.Attr("Name", fn.name);
            out.Close(fn.paramCount > 0);
            for (uint32_t p = 0; p < fn.paramCount; p++) {
                out.Open(4, "Param");
                out.Attr("Name", fn.paramNames ? fn.paramNames[p] : nullptr);
                out.Close(false);
            }
            if (fn.paramCount > 0) out.End(3, "Function");
        }
        if (lib.functionCount > 0) out.End(2, "Library");
    }
    if (demo.libraryCount > 0) out.End(1, "Libraries");
}

void WriteSettingsAndSummary(XmlOut& out, const DemoStruct& demo) {
    out.Open(2, "Settings");
    out.Attr("InputMusicFile", demo.inputMusicFile);
    out.Attr("NumberOfInputSurfaces", (long)demo.inputSurfaceCount);
    out.Attr("RunningTime", (long)demo.runningTime);
    out.Attr("UseOpenGL", demo.useOpenGL ? "true" : "false");
    out.Close(false);
    // A group or extra info typed without an author must survive the save too.
    bool summary = demo.author || demo.group || demo.extraInfo;
    out.Open(2, "Summary");
    out.Close(summary);
    if (!summary) return;
    out.TextElement(3, "Author", demo.author);
    out.TextElement(3, "Group", demo.group);
    out.TextElement(3, "ExtraInfo", demo.extraInfo);
    out.End(2, "Summary");
}

// Tempo, loop range and markers, each only when the demo has it, so a demo
// without them is written exactly as before.
void WriteTimelineExtras(XmlOut& out, const DemoStruct& demo) {
    if (demo.tempo.beatsPerMinute > 0) {
        char bpm[64];
        std::to_chars_result end = std::to_chars(bpm, bpm + sizeof bpm - 1, demo.tempo.beatsPerMinute);
        *end.ptr = 0;
        out.Open(2, "Tempo");
        out.Attr("BeatsPerBar", (long)demo.tempo.beatsPerBar);
        out.Attr("BeatsPerMinute", bpm);
        out.Attr("FirstBeat", (long)demo.tempo.firstBeat);
        out.Close(false);
    }
    if (demo.hasLoopRange) {
        out.Open(2, "LoopRange");
        out.Attr("In", (long)demo.loopIn);
        out.Attr("Out", (long)demo.loopOut);
        out.Close(false);
    }
    if (demo.markerCount > 0 && demo.markers) {
        out.Open(2, "Markers");
        out.Close(true);
        for (uint32_t m = 0; m < demo.markerCount; m++) {
            out.Open(3, "Marker");
            out.Attr("Name", demo.markers[m].name);
            out.Attr("Time", (long)demo.markers[m].time);
            out.Close(false);
        }
        out.End(2, "Markers");
    }
}

void WriteTracks(XmlOut& out, const DemoStruct& demo) {
    for (uint32_t t = 0; t < demo.trackCount; t++) {
        const DemoTrack& track = demo.tracks[t];
        out.Open(2, "Track");
        if (track.hidden) out.Attr("Hidden", "true");
        if (track.name && *track.name) out.Attr("Name", track.name);
        out.Close(track.eventCount > 0);
        for (uint32_t e = 0; e < track.eventCount; e++) {
            const DemoEvent& ev = track.events[e];
            out.Open(3, "Event");
            out.Attr("EndTime", (long)ev.endTime);
            out.Attr("FunctionName", ev.functionName);
            if (ev.hidden) out.Attr("Hidden", "true");
            out.Attr("LibraryFileName", ev.libraryFileName);
            out.Attr("StartTime", (long)ev.startTime);
            out.Close(ev.paramCount > 0);
            for (uint32_t p = 0; p < ev.paramCount; p++) {
                out.Open(4, "param");
                out.Attr("end", (long)ev.endValues[p]);
                out.Attr("start", (long)ev.startValues[p]);
                out.Close(false);
            }
            if (ev.paramCount > 0) out.End(3, "Event");
        }
        if (track.eventCount > 0) out.End(2, "Track");
    }
}

// A little more than the file will take, so the buffer is allocated once:
// growing it would briefly need twice its size.
size_t EstimatedSize(const DemoStruct& demo) {
    size_t size = 4096;
    for (uint32_t l = 0; l < demo.libraryCount; l++) {
        const EffectLibrary& lib = demo.libraries[l];
        size += 64 + (lib.fileName ? strlen(lib.fileName) : 0);
        for (uint32_t f = 0; f < lib.functionCount; f++)
            size += 64 + (size_t)lib.functions[f].paramCount * 64;
    }
    for (uint32_t t = 0; t < demo.trackCount; t++)
        for (uint32_t e = 0; e < demo.tracks[t].eventCount; e++) {
            const DemoEvent& ev = demo.tracks[t].events[e];
            size += 128 + (size_t)ev.paramCount * 56;
            if (ev.libraryFileName) size += strlen(ev.libraryFileName);
            if (ev.functionName) size += strlen(ev.functionName);
        }
    return size;
}

} // namespace

std::string WriteDemoXml(const DemoStruct& demo, uint32_t& replaced) {
    XmlOut out;
    out.bytes.reserve(EstimatedSize(demo));
    out.bytes += "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"no\" ?>\n";
    out.bytes += "<VorlenDemoFile>\n\n";
    WriteLibraries(out, demo);
    out.bytes += "\n";
    out.Open(1, "Demo");
    out.Close(true);
    WriteSettingsAndSummary(out, demo);
    WriteTimelineExtras(out, demo);
    WriteTracks(out, demo);
    out.End(1, "Demo");
    out.bytes += "\n</VorlenDemoFile>\n";
    replaced = out.replaced;
    return std::move(out.bytes);
}

bool SaveDemoFile(const char* path, const DemoStruct* demo, const SaveOptions* options, SaveReport* report) {
    if (report) *report = SaveReport();
    if (!demo || !path) {
        fprintf(stderr, "An error occurred while saving demo to XML file: there is no demo to save.\n");
        return false;
    }
    // The whole document is made in memory first, so nothing touches the disk
    // until it is complete, and every write of it can be checked.
    uint32_t replaced = 0;
    std::string bytes = WriteDemoXml(*demo, replaced);
    std::string error;
    if (!ReplaceFileChecked(path, bytes.data(), bytes.size(), options && options->keepBackup, error)) {
        fprintf(stderr, "An XML error occurred while saving demo to XML file.Exception message is: \n%s\n",
                error.c_str());
        return false;
    }
    if (report) report->replacedCharacters = replaced;
    return true;
}
