// FrameOutput: rendered frames become PNG files on worker threads while the
// renderer draws the next ones; one committer thread writes the files (through
// a temporary name, so a frame file is never half written) and feeds the video
// strictly in frame order, so an interrupted render leaves its first frames
// complete.
#include "render_internal.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "standalone.h"

namespace {
// Frames in flight are bounded by count and by memory (a 16384 x 16384 frame is 1 GiB).
const size_t kBufferBudget = 256u << 20;
const unsigned kMaxEncoders = 8;
} // namespace

FrameOutput::FrameOutput(const Settings& s) : settings(s) {
    unsigned threads = settings.threads;
    if (threads == 0) threads = std::max(1u, std::thread::hardware_concurrency());
    threads = std::min(threads, kMaxEncoders);
    if (settings.outDir.empty()) threads = 0; // nothing to encode: the committer feeds the video alone

    const size_t frameBytes = (size_t)settings.width * settings.height * 4;
    size_t count = threads + 2;
    count = std::max<size_t>(2, std::min(count, kBufferBudget / std::max<size_t>(frameBytes, 1)));
    for (size_t i = 0; i < count; i++) {
        buffers.emplace_back(new std::vector<uint8_t>(frameBytes));
        freeBuffers.push_back(buffers.back().get());
    }
    // Without threads (the system refusing more) the work is done in Submit.
    try {
        for (unsigned i = 0; i < threads; i++)
            encoders.emplace_back(&FrameOutput::Encode, this);
        committer = std::thread(&FrameOutput::Commit, this);
    } catch (const std::system_error&) {
        Finish(failure);
        failure.clear();
        encoders.clear();
        stopping = false;
        inlineOutput = true;
    }
}

FrameOutput::~FrameOutput() {
    std::string ignored;
    Finish(ignored);
}

std::vector<uint8_t>* FrameOutput::Acquire() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return !freeBuffers.empty(); });
    std::vector<uint8_t>* buffer = freeBuffers.back();
    freeBuffers.pop_back();
    return buffer;
}

void FrameOutput::Submit(uint64_t number, std::vector<uint8_t>* pixels) {
    std::unique_lock<std::mutex> lock(mutex);
    Job job = {submitted++, number, pixels, {}, false};
    if (inlineOutput) {
        lock.unlock();
        Output(job);
        lock.lock();
        committed++;
    } else if (encoders.empty()) {
        encoded.emplace(job.sequence, std::move(job)); // the committer encodes, if anything
    } else {
        toEncode.push_back(std::move(job));
    }
    changed.notify_all();
}

void FrameOutput::Return(std::vector<uint8_t>* pixels) {
    std::lock_guard<std::mutex> lock(mutex);
    freeBuffers.push_back(pixels);
    changed.notify_all();
}

bool FrameOutput::Failed() {
    std::lock_guard<std::mutex> lock(mutex);
    return failed;
}

void FrameOutput::Encode() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return stopping || !toEncode.empty(); });
        if (toEncode.empty()) return; // stopping, and nothing left
        Job job = std::move(toEncode.front());
        toEncode.pop_front();
        bool skip = failed;
        lock.unlock();
        // After a failure the frames are only handed back, not encoded.
        if (!skip && !EncodePng(job.pixels->data(), settings.width, settings.height, settings.pngLevel, job.png))
            job.png.clear();
        job.encoded = true;
        lock.lock();
        encoded.emplace(job.sequence, std::move(job));
        changed.notify_all();
    }
}

bool FrameOutput::WriteFrameFile(const Job& job, std::string& error) {
    char name[40];
    snprintf(name, sizeof name, "/frame_%06llu.png", (unsigned long long)job.number);
    const std::string path = settings.outDir + name, part = path + ".part";
    if (job.png.empty()) {
        error = "could not encode " + path;
        return false;
    }
    FILE* f = fopen(part.c_str(), "wb");
    bool ok = f && fwrite(job.png.data(), 1, job.png.size(), f) == job.png.size();
    int reason = errno;
    if (f && fclose(f) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && rename(part.c_str(), path.c_str()) != 0) {
        ok = false;
        reason = errno;
    }
    if (!ok) {
        if (f) remove(part.c_str());
        error = "could not write " + path + ": " + strerror(reason);
    }
    return ok;
}

void FrameOutput::Commit() {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return encoded.count(committed) || (stopping && committed == submitted); });
        auto it = encoded.find(committed);
        if (it == encoded.end()) return; // stopping, every frame committed
        Job job = std::move(it->second);
        encoded.erase(it);
        lock.unlock();
        Output(job);
        lock.lock();
        committed++;
        changed.notify_all();
    }
}

void FrameOutput::Output(Job& job) {
    bool skip;
    {
        std::lock_guard<std::mutex> lock(mutex);
        skip = failed;
    }
    std::string error;
    bool ok = true;
    if (!skip && !settings.outDir.empty()) {
        if (!job.encoded &&
            !EncodePng(job.pixels->data(), settings.width, settings.height, settings.pngLevel, job.png))
            job.png.clear();
        ok = WriteFrameFile(job, error);
    }
    if (!skip && ok && settings.video && !settings.video->Write(job.pixels->data(), job.pixels->size())) {
        ok = false;
        error = "ffmpeg stopped taking frames";
    }
    std::lock_guard<std::mutex> lock(mutex);
    if (!ok && !failed) {
        failed = true;
        failure = error;
    }
    freeBuffers.push_back(job.pixels);
}

bool FrameOutput::Finish(std::string& error) {
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
        changed.notify_all();
    }
    for (std::thread& encoder : encoders)
        if (encoder.joinable()) encoder.join();
    if (committer.joinable()) committer.join();
    error = failure;
    return !failed;
}
