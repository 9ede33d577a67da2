// Writes the showcase demo, cut to its music: 128 beats a minute, 4/4, bars of
// 1875 ms, in the sections music.txt lists (intro, groove, build, drop, break,
// drop2, outro). Events start on beats and bars (times rounded to the file's
// 10 ms). The library description is copied from the example demo, so both
// declare Fenk's functions alike.
// Usage: showcase_demo FENK_XML OUT_XML
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const double kBeatMs = 60000.0 / 128;
const double kBarMs = 4 * kBeatMs;
const int kBars = 56;

// Time of beat `beat` (0-based) of bar `bar` (1-based), to the file's 10 ms.
int At(int bar, double beat = 0) {
    double t = (bar - 1) * kBarMs + beat * kBeatMs;
    return (int)std::lround(t / 10) * 10;
}

struct Param {
    int start, end;
};
struct Event {
    std::string function;
    int start, end;
    std::vector<Param> params;
};
typedef std::vector<Event> Track;

// A parameter that holds one value, and one that runs from a to b.
Param Hold(int v) {
    return {v, v};
}
Param Run(int a, int b) {
    return {a, b};
}

// Tracks, drawn from the last up: track 0 lies on top.
enum { kText, kCredits, kFlash, kPulse, kTitle, kAccent, kStars, kSky, kBase, kTrackCount };
// Images of ImageList.txt and texts of TextList.txt.
enum { kNebula, kPlasma, kTitleImage, kGlow, kLogo };
enum { kShowcaseFor, kCutToTheBeat, kBeatsAMinute, kMadeWith, kGreetings };

void Add(std::vector<Track>& tracks, int track, const std::string& function, int start, int end,
         std::vector<Param> params) {
    tracks[track].push_back({function, start, end, params});
}

// White text, font 0 (bold sans), fading as given.
void Text(std::vector<Track>& t, int start, int end, int text, Param x, Param y, int size, Param opacity) {
    Add(t, kText, "DisplayText", start, end,
        {x, y, Hold(0), Hold(size), opacity, Hold(text), Hold(0), Hold(255), Hold(255), Hold(255)});
}

// A glow swelling out from the centre on every beat of bars [first, last].
void Pulses(std::vector<Track>& t, int first, int last, int strength) {
    for (int bar = first; bar <= last; bar++)
        for (int beat = 0; beat < 4; beat++)
            Add(t, kPulse, "Image", At(bar, beat), At(bar, beat + 1),
                {Hold(kGlow), Hold(4000), Hold(3000), Run(5000, 9000), Run(beat == 0 ? strength + 40 : strength, 0)});
}

// A white flash on the first beat of each bar of [first, last].
void BarFlashes(std::vector<Track>& t, int first, int last, int opacity) {
    for (int bar = first; bar <= last; bar++)
        Add(t, kFlash, "BackgroundTint", At(bar), At(bar, 1), {Run(opacity, 0), Hold(256), Hold(256), Hold(256)});
}

// The sky zooming in a little on every bar and springing back at the next.
void PumpingSky(std::vector<Track>& t, int first, int last, int image) {
    for (int bar = first; bar <= last; bar++) {
        int wide = bar % 2 ? 1000 : 900, narrow = wide - 260;
        int edge = (1000 - wide) / 2, inner = (1000 - narrow) / 2;
        Add(t, kSky, "FastBackground", At(bar), At(bar + 1),
            {Hold(image), Run(edge, inner), Run(edge, inner), Run(wide, narrow), Run(wide, narrow)});
    }
}

std::vector<Track> Build() {
    std::vector<Track> t(kTrackCount);
    const int end = At(kBars + 1);

    // Base: a near-black clear under everything.
    Add(t, kBase, "BackgroundColor", 0, end, {Hold(4), Hold(2), Hold(12)});

    // Intro, bars 1-8: the sky fades in, the title comes out of a spinning blur,
    // then shakes like an old film while the first words appear.
    Add(t, kSky, "BackgroundFade", 0, At(9), {Hold(kNebula), Run(0, 256)});
    Add(t, kTitle, "CircularBlur", 0, At(5),
        {Hold(kTitleImage), Hold(4000), Hold(2800), Hold(1300), Run(360, 0), Hold(1000), Hold(7), Run(0, 1800),
         Hold(0)});
    Add(t, kTitle, "MovieJitter", At(5), At(9),
        {Hold(kTitleImage), Hold(4000), Hold(2800), Hold(1300), Hold(768), Run(0, 300), Run(40, 4)});
    Text(t, At(5), At(9), kShowcaseFor, Run(2700, 2900), Hold(3800), 1300, Run(0, 255));

    // Groove, bars 9-16: the sky drifts, the title waves, a glow beats.
    Add(t, kSky, "FastBackground", At(9), At(17),
        {Hold(kNebula), Run(0, 250), Run(0, 120), Run(1000, 700), Run(1000, 700)});
    Add(t, kStars, "StarField", At(9), At(17), {Hold(kGlow), Hold(120), Hold(1), Run(0, 15000)});
    Add(t, kTitle, "Wave", At(9), At(17),
        {Hold(kTitleImage), Hold(4000), Hold(2400), Hold(1300), Hold(256), Hold(2), Hold(1), Hold(8), Hold(16),
         Run(0, 8000), Run(0, 16000)});
    Pulses(t, 9, 16, 60);
    Add(t, kAccent, "Animate", At(9), At(17),
        {Hold(0), Hold(900), Hold(5000), Hold(1400), Hold(220), Run(0, 15000)});
    Add(t, kAccent, "Animate", At(9), At(17),
        {Hold(0), Hold(7100), Hold(1000), Hold(1400), Hold(220), Run(7000, 22000)});
    Text(t, At(11), At(13), kCutToTheBeat, Run(2500, 2700), Hold(4300), 1200, Run(255, 0));
    Text(t, At(13), At(17), kBeatsAMinute, Run(2300, 2500), Hold(4300), 1200, Run(255, 0));

    // Build, bars 17-20: the title breaks into strokes, the sky rushes in, the
    // beat flashes grow.
    Add(t, kSky, "FastBackground", At(17), At(21),
        {Hold(kNebula), Run(250, 420), Run(120, 380), Run(700, 160), Run(700, 160)});
    Add(t, kStars, "StarField", At(17), At(21), {Hold(kGlow), Hold(250), Hold(2), Run(0, 7500)});
    Add(t, kTitle, "Rasterize", At(17), At(21),
        {Hold(kTitleImage), Hold(4000), Hold(3000), Run(1300, 1700), Hold(256), Run(220, 60), Hold(4),
         Hold(128), Hold(512), Hold(6), Hold(0), Hold(0), Hold(4), Hold(4)});
    for (int beat = 0; beat < 16; beat++)
        Add(t, kFlash, "BackgroundTint", At(17, beat), At(17, beat + 1),
            {Run(20 + beat * 9, 0), Hold(256), Hold(256), Hold(256)});

    // Drop, bars 21-36: plasma pumping on every bar, stars rushing, the title
    // kicked on each bar, flashes and beat glows.
    PumpingSky(t, 21, 36, kPlasma);
    Add(t, kStars, "StarField", At(21), At(37), {Hold(kGlow), Hold(400), Hold(4), Run(0, 30000)});
    for (int bar = 21; bar <= 36; bar++)
        Add(t, kTitle, "Wave", At(bar), At(bar + 1),
            {Hold(kTitleImage), Hold(4000), Hold(3000), Run(1700, 1400), Hold(256), Hold(2), Hold(2), Run(40, 0),
             Run(70, 0), Run(0, 2000), Run(bar * 300, bar * 300 + 3000)});
    BarFlashes(t, 21, 36, 110);
    Pulses(t, 21, 36, 70);
    Add(t, kAccent, "Image", At(21), At(37), {Hold(kLogo), Hold(4000), Hold(3000), Run(2500, 4500), Hold(70)});

    // Break, bars 37-44: calm; a swirl of plasma and the names, one after another.
    Add(t, kSky, "BackgroundFade", At(37), At(45), {Hold(kNebula), Run(256, 160)});
    Add(t, kAccent, "CircularBlur", At(37), At(45),
        {Hold(kPlasma), Hold(4000), Hold(3000), Hold(4200), Hold(120), Hold(500), Hold(3), Run(0, 3600), Hold(0)});
    Add(t, kStars, "StarField", At(37), At(45), {Hold(kGlow), Hold(100), Hold(1), Run(0, 15000)});
    Text(t, At(37), At(39), kGreetings, Run(3000, 3200), Hold(1300), 1400, Run(255, 0));
    const char* names[5] = {"CreditsWendal", "CreditsOrvik", "CreditsBaltu", "CreditsQuenra", "CreditsTumsel"};
    for (int i = 0; i < 5; i++) {
        int start = At(37, 6 * i), stop = At(37, 6 * i + 6); // six beats a name
        Add(t, kCredits, names[i], start, stop,
            {Hold(2300), Hold(3400), Run(i % 2 ? 60 : -60, i % 2 ? -60 : 60), Run(60, 0), Hold(1100),
             Run(768, 0), Run(i * 300, i * 300 + 300)});
    }

    // Drop 2, bars 45-52: the sky pumping, the title shaken and stroked in turn.
    PumpingSky(t, 45, 52, kNebula);
    Add(t, kStars, "StarField", At(45), At(53), {Hold(kGlow), Hold(400), Hold(5), Run(0, 15000)});
    for (int bar = 45; bar <= 52; bar++) {
        if (bar % 2)
            Add(t, kTitle, "MovieJitter", At(bar), At(bar + 1),
                {Hold(kTitleImage), Hold(4000), Hold(3000), Hold(1600), Hold(768), Run(bar * 50, bar * 50 + 50),
                 Run(90, 10)});
        else
            Add(t, kTitle, "Rasterize", At(bar), At(bar + 1),
                {Hold(kTitleImage), Hold(4000), Hold(3000), Run(1800, 1500), Hold(256), Run(80, 180), Hold(4),
                 Hold(128), Hold(512), Hold(6), Hold(0), Hold(0), Hold(3), Hold(4)});
    }
    BarFlashes(t, 45, 52, 130);
    Pulses(t, 45, 52, 80);

    // Outro, bars 53-56: everything fades into the blur.
    Add(t, kSky, "BackgroundFade", At(53), end, {Hold(kNebula), Run(200, 0)});
    Add(t, kTitle, "CircularBlur", At(53), end,
        {Hold(kTitleImage), Hold(4000), Hold(2800), Hold(1300), Run(0, 360), Run(1000, 0), Hold(7), Run(0, 900),
         Hold(0)});
    Text(t, At(53), end, kMadeWith, Hold(2000), Hold(4200), 1300, Run(255, 0));
    return t;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: showcase_demo FENK_XML OUT_XML\n");
        return 2;
    }
    const std::string fenk = ReadFile(argv[1]);
    const size_t from = fenk.find("  <Libraries>"), to = fenk.find("</Libraries>");
    if (from == std::string::npos || to == std::string::npos) {
        fprintf(stderr, "showcase_demo: no <Libraries> in %s\n", argv[1]);
        return 1;
    }
    FILE* out = fopen(argv[2], "wb");
    if (!out) {
        fprintf(stderr, "showcase_demo: cannot write %s\n", argv[2]);
        return 1;
    }
    fprintf(out, "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"no\" ?>\n<VorlenDemoFile>\n");
    fprintf(out, "%s</Libraries>\n", fenk.substr(from, to - from).c_str());
    fprintf(out, "  <Demo>\n    <Settings RunningTime=\"%d\" UseOpenGL=\"true\" NumberOfInputSurfaces=\"0\" "
                 "InputMusicFile=\"data/music.ogg\"/>\n",
            At(kBars + 1));
    fprintf(out, "    <Summary>\n      <Author>Trellic</Author>\n      <Group>Fenk showcase</Group>\n"
                 "      <ExtraInfo>A short piece cut to the beats of its music, 128 beats a minute.</ExtraInfo>\n"
                 "    </Summary>\n");
    // The grid and the sections, so the editor's beat lines, snapping and
    // markers match the music from the start.
    fprintf(out, "    <Tempo BeatsPerBar=\"4\" BeatsPerMinute=\"128\" FirstBeat=\"0\"/>\n");
    fprintf(out, "    <Markers>\n");
    const struct { const char* name; int bar; } sections[] = {{"intro", 1},  {"groove", 9}, {"build", 17},
                                                              {"drop", 21},  {"break", 37}, {"drop2", 45},
                                                              {"outro", 53}};
    for (const auto& section : sections)
        fprintf(out, "      <Marker Name=\"%s\" Time=\"%d\"/>\n", section.name, At(section.bar));
    fprintf(out, "    </Markers>\n");
    for (const Track& track : Build()) {
        fprintf(out, "    <Track>\n");
        for (const Event& e : track) {
            fprintf(out, "      <Event LibraryFileName=\"libFenk.so\" FunctionName=\"%s\" StartTime=\"%d\" EndTime=\"%d\">\n",
                    e.function.c_str(), e.start, e.end);
            for (const Param& p : e.params)
                fprintf(out, "        <param start=\"%d\" end=\"%d\"/>\n", p.start, p.end);
            fprintf(out, "      </Event>\n");
        }
        fprintf(out, "    </Track>\n");
    }
    fprintf(out, "  </Demo>\n</VorlenDemoFile>\n");
    fclose(out);
    return 0;
}
