// The headless renderer's pieces: the ffmpeg pipe, reading frames back from
// the GPU, and the frame output that encodes PNG files on worker threads and
// writes files and video in frame order.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <sys/types.h>

// Finds an executable on PATH.
bool FindProgram(const char* name, std::string& found);

// ffmpeg making a video of raw frames fed through a pipe, with the demo's music
// from the first frame's time, padded with silence to the video's length.
class VideoPipe {
  public:
    struct Settings {
        std::string program, outFile;
        int width = 0, height = 0, fps = 30;
        uint64_t frames = 0;     // how many frames the video gets
        uint32_t firstTime = 0;  // ms: the first frame's demo time, where the music starts
        std::string music;       // empty: no sound
    };
    // The arguments ffmpeg is started with.
    static std::vector<std::string> Arguments(const Settings& settings);
    bool Start(const Settings& settings);
    // One frame: width x height pixels of four bytes (red, green, blue, unused), rows from the top.
    bool Write(const uint8_t* data, size_t bytes);
    // Closes the pipe and waits: true when ffmpeg succeeded.
    bool Finish();
    ~VideoPipe();

  private:
    pid_t pid = -1;
    int fd = -1;
};

// Reads the bound framebuffer's pixels, through a ring of pixel buffer objects
// when the driver has them, so that a frame's pixels travel while the next one
// draws; each read is collected later, in order, rows from the top.
class FrameReadback {
  public:
    explicit FrameReadback(int width, int height);
    ~FrameReadback();
    // Starts reading the frame now drawn; `tag` comes back with its pixels.
    void Read(uint64_t tag);
    // Reads still to collect; with buffer objects up to two are kept in flight.
    size_t Pending() const { return pending.size(); }
    bool Full() const { return pending.size() >= slots.size(); }
    // The oldest read's pixels into `out` (width x height x 4 bytes) and its
    // tag: false when the driver could not hand them over.
    bool Collect(uint8_t* out, uint64_t& tag);

  private:
    int width, height;
    size_t rowBytes;
    std::vector<unsigned> slots;   // buffer object names; one client-side slot without them
    std::vector<uint8_t> direct;   // the client-side slot
    std::deque<std::pair<size_t, uint64_t>> pending; // slot and tag of each read, oldest first
    size_t next = 0;
};

// Where rendered frames go: each is PNG-encoded on a worker thread (with
// --out), then, in frame order, its file is written and its pixels fed to the
// video. Buffers come from a fixed set, so a renderer running ahead of the
// encoders waits instead of piling frames up.
class FrameOutput {
  public:
    struct Settings {
        std::string outDir; // empty: no PNG files
        int pngLevel = 1;
        VideoPipe* video = nullptr;
        int width = 0, height = 0;
        unsigned threads = 0; // PNG encoders; 0: one per processor
    };
    explicit FrameOutput(const Settings& settings);
    ~FrameOutput();
    // A buffer for the next frame (width x height x 4 bytes, rows from the
    // top), waiting while all are in use.
    std::vector<uint8_t>* Acquire();
    // Hands a filled buffer over; `number` names the file (frame_NNNNNN.png).
    void Submit(uint64_t number, std::vector<uint8_t>* pixels);
    // Gives a buffer back unused.
    void Return(std::vector<uint8_t>* pixels);
    // True once a frame could not be written: the render should stop.
    bool Failed();
    // Waits for every submitted frame: false with the first failure's message.
    bool Finish(std::string& error);

  private:
    struct Job {
        uint64_t sequence, number;
        std::vector<uint8_t>* pixels;
        std::vector<uint8_t> png;
        bool encoded;
    };
    void Encode();
    void Commit();
    // Encodes the job if no worker did, writes its file and feeds the video;
    // the first failure stops all later output.
    void Output(Job& job);
    bool WriteFrameFile(const Job& job, std::string& error);

    Settings settings;
    std::vector<std::unique_ptr<std::vector<uint8_t>>> buffers;
    std::vector<std::vector<uint8_t>*> freeBuffers;
    std::deque<Job> toEncode;
    std::map<uint64_t, Job> encoded; // by sequence, waiting for their turn
    uint64_t submitted = 0, committed = 0;
    bool stopping = false, failed = false;
    bool inlineOutput = false; // no threads could be started: Submit does the work
    std::string failure;
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::thread> encoders;
    std::thread committer;
};
