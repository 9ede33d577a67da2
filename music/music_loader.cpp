// Background work on the music: a thread per job, joined when the job goes; the
// decode-then-peaks load of one file, and tempo detection.
#include "music.h"

#include <cstdio>

BackgroundJob::BackgroundJob(std::function<void(const std::atomic<bool>&)> work, std::function<void()> done)
    : thread([this, work, done] {
          work(cancel);
          bool cancelled = cancel.load();
          finished.store(true, std::memory_order_release);
          if (!cancelled && done) done();
      }) {}

BackgroundJob::~BackgroundJob() {
    cancel.store(true);
    if (thread.joinable()) thread.join();
}

MusicLoad::MusicLoad(const std::string& file, std::function<void()> onProgress) : path(file) {
    job.reset(new BackgroundJob(
        [this, onProgress](const std::atomic<bool>& cancel) {
            std::string reason;
            ClipPtr decoded = DecodeAudioFile(path, reason, &cancel);
            if (!decoded) {
                error = reason;
                stage.store(kFailed, std::memory_order_release);
                return;
            }
            clip = decoded;
            stage.store(kDecoded, std::memory_order_release);
            // Playback can start now; the waveform follows.
            if (onProgress && !cancel.load()) onProgress();
            peaks = std::make_shared<PeakTable>(decoded);
            stage.store(kPeaksReady, std::memory_order_release);
        },
        onProgress));
}

MusicLoad::~MusicLoad() {
    job.reset();
}

ClipPtr MusicLoad::Clip() const {
    return IsDecoded() ? clip : nullptr;
}

std::shared_ptr<const PeakTable> MusicLoad::Peaks() const {
    return PeaksReady() ? peaks : nullptr;
}

TempoDetection::TempoDetection(ClipPtr clip, std::function<void()> onDone)
    : job([this, clip](const std::atomic<bool>& cancel) { result = DetectTempo(*clip, &cancel); }, onDone) {}
