// The demo's music: decoded into memory once with libsndfile, played through
// SDL_mixer's music hook with a clock that follows the frames handed to the
// device, a min/max peak table for drawing waveforms at any zoom, and tempo
// detection with aubio. Decoding, peaks and tempo run off the main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// ---------------------------------------------------------------------------
// Decoding (audio_decoder.cpp)

// Decoded music: 16-bit samples, interleaved, one or two channels (files with
// more are mixed down to mono).
struct AudioClip {
    uint32_t rate = 0;     // frames per second
    uint32_t channels = 0; // 1 or 2
    std::vector<int16_t> samples;

    uint64_t FrameCount() const { return channels ? samples.size() / channels : 0; }
    double DurationMs() const { return rate ? FrameCount() * 1000.0 / rate : 0.0; }
};
typedef std::shared_ptr<const AudioClip> ClipPtr;

// Decoded music may take at most this much memory: 256 MiB holds 25 minutes of
// 44.1 kHz stereo. Longer (or lying) files are refused rather than read on.
const uint64_t kMaxDecodedBytes = 256ull << 20;

// Decodes a whole file. On failure returns null and sets `error` to the reason
// (libsndfile's own text, or why the file was refused). `cancel`, when given,
// is polled between blocks and makes the decode give up quietly.
ClipPtr DecodeAudioFile(const std::string& path, std::string& error, const std::atomic<bool>* cancel = nullptr,
                        uint64_t maxBytes = kMaxDecodedBytes);

// Writes interleaved 16-bit samples as a file of libsndfile's `format`
// (SF_FORMAT_WAV | SF_FORMAT_PCM_16 and so on); false when that fails.
bool EncodeAudioFile(const std::string& path, int format, uint32_t rate, uint32_t channels,
                     const std::vector<int16_t>& samples);

// ---------------------------------------------------------------------------
// Waveform peaks (peak_table.cpp)

struct PeakRange {
    bool valid = false; // false: the range holds no sample
    float min = 0, max = 0; // -1..1, over every channel
};

// Min and max per block of frames, in levels that each merge kFanout blocks of
// the one below, so any range is answered from a few dozen entries plus at most
// two partial base blocks read from the samples themselves. Exact at any zoom.
class PeakTable {
  public:
    static const uint32_t kBaseBlock = 16; // frames per entry of level 0
    static const uint32_t kFanout = 4;

    explicit PeakTable(ClipPtr clip);
    // Min and max over the frames [frame0, frame1); invalid when empty or past the end.
    PeakRange Range(uint64_t frame0, uint64_t frame1) const;
    // The same over [t0, t1) in ms: the frames from floor(t0 * rate / 1000) up to
    // floor(t1 * rate / 1000), at least one frame.
    PeakRange RangeMs(double t0, double t1) const;
    // Min and max of `columns` columns of `msPerColumn` each from `startMs`, as a
    // waveform strip draws them (column i covers [start + i * w, start + (i + 1) * w)).
    std::vector<PeakRange> Columns(double startMs, double msPerColumn, size_t columns) const;
    uint32_t Rate() const { return clip->rate; }
    double DurationMs() const { return clip->DurationMs(); }
    size_t LevelCount() const { return levels.size(); }
    size_t MemoryBytes() const;

  private:
    struct Entry {
        int16_t min, max;
    };
    void AddFrames(uint64_t frame0, uint64_t frame1, int& lo, int& hi) const;
    ClipPtr clip;
    std::vector<std::vector<Entry>> levels;
};

// ---------------------------------------------------------------------------
// Tempo (tempo_detector.cpp)

struct TempoEstimate {
    bool found = false;
    double beatsPerMinute = 0;
    double firstBeatMs = 0; // the earliest beat at or after 0
    uint32_t beatCount = 0; // beats aubio's tracker found
};

// aubio's beat tracker finds the beat's rough length; a comb slid over aubio's
// onset curve then finds the steady grid (length and phase) that the whole
// piece agrees with best, far finer than the tracker's own period.
TempoEstimate DetectTempo(const AudioClip& clip, const std::atomic<bool>* cancel = nullptr);

// ---------------------------------------------------------------------------
// Background work (music_loader.cpp)

// Runs `work` on its own thread; `cancel` is set when the job is dropped, and
// the destructor waits for the thread. `done` runs on that thread when the work
// has finished (not when cancelled), e.g. to wake the main loop.
class BackgroundJob {
  public:
    BackgroundJob(std::function<void(const std::atomic<bool>& cancel)> work, std::function<void()> done);
    ~BackgroundJob();
    BackgroundJob(const BackgroundJob&) = delete;
    BackgroundJob& operator=(const BackgroundJob&) = delete;
    bool Finished() const { return finished.load(std::memory_order_acquire); }

  private:
    std::atomic<bool> cancel{false}, finished{false};
    std::thread thread;
};

// The music of one file: decoded, then its peak table built, on one background
// thread. Ask IsDecoded / Failed / PeaksReady from the main thread; what they
// report stays true, and the matching getters are then safe.
class MusicLoad {
  public:
    MusicLoad(const std::string& path, std::function<void()> onProgress = nullptr);
    ~MusicLoad();
    const std::string& Path() const { return path; }
    bool IsDecoded() const { return stage.load(std::memory_order_acquire) >= kDecoded; }
    bool Failed() const { return stage.load(std::memory_order_acquire) == kFailed; }
    bool PeaksReady() const { return stage.load(std::memory_order_acquire) == kPeaksReady; }
    ClipPtr Clip() const;                       // null until decoded
    std::shared_ptr<const PeakTable> Peaks() const; // null until ready
    const std::string& Error() const { return error; } // set once Failed()

  private:
    enum Stage { kDecoding, kFailed, kDecoded, kPeaksReady };
    std::string path, error;
    ClipPtr clip;
    std::shared_ptr<const PeakTable> peaks;
    std::atomic<int> stage{kDecoding};
    std::unique_ptr<BackgroundJob> job;
};

// Tempo detection of a decoded clip on a background thread.
class TempoDetection {
  public:
    TempoDetection(ClipPtr clip, std::function<void()> onDone = nullptr);
    bool Finished() const { return job.Finished(); }
    TempoEstimate Result() const { return result; } // valid once Finished()

  private:
    TempoEstimate result;
    BackgroundJob job; // last: joins before the result goes
};

// ---------------------------------------------------------------------------
// The clock (playback_clock.cpp)

// What the music hook last reported: how many device frames it had handed out
// before its latest call, how many that call handed, and when it came.
struct HookProgress {
    uint64_t framesBefore = 0;
    uint32_t framesInCall = 0;
    uint32_t rate = 0;       // device frames per second
    int64_t callTimeUs = -1; // steady clock; -1: no call since the start
};

// Microseconds on the steady clock that HookProgress::callTimeUs uses.
int64_t SteadyMicroseconds();

// The playback position while the music sounds: the start plus the frames
// handed to the device, moved on with the steady clock between hook calls (never
// past the end of the latest call's frames) so the picture moves smoothly, and
// never backwards.
class PlaybackClock {
  public:
    void Restart(double startMs);
    double Position(const HookProgress& progress, int64_t nowUs);
    double Start() const { return start; }

  private:
    double start = 0, last = 0;
};

// ---------------------------------------------------------------------------
// Playback (music_output.cpp)

// Hands a clip to SDL_mixer's music hook at the device's rate, resampled by
// 4-point cubic (Catmull-Rom) interpolation where the rates differ, and counts
// every frame it hands, silence past the clip's end included. One output at a
// time owns the hook. All calls are from the main thread.
class MusicOutput {
  public:
    MusicOutput() = default;
    ~MusicOutput();
    MusicOutput(const MusicOutput&) = delete;
    MusicOutput& operator=(const MusicOutput&) = delete;

    // Takes the hook for `clip`; false (and nothing hooked) without an open device.
    bool Attach(ClipPtr clip);
    void Detach();
    bool Attached() const { return attached; }
    // Hands the clip from `ms` on, at once; Stop hands nothing and stops counting.
    void Start(double ms);
    void Stop();
    bool Running() const { return running; }
    void SetVolume(int volume); // 0..128
    HookProgress Progress() const;
    // The source frame the first handed frame came from, for a start at `ms`.
    static uint64_t StartFrame(double ms, uint32_t rate);

    // Called on the audio thread.
    void Fill(uint8_t* stream, int bytes);

  private:
    void WriteFrames(uint8_t* stream, uint32_t frames);
    ClipPtr clip;
    bool attached = false, running = false;
    uint32_t deviceRate = 0, deviceChannels = 0;
    uint16_t deviceFormat = 0;
    std::atomic<int> volume{128};
    uint64_t startFrame = 0; // source frame
    HookProgress progress;
};

// Also part of this folder's interface: the beat grid of a tempo.
#include "beat_grid.h"
