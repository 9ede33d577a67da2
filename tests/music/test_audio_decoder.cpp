// Decoding with libsndfile: formats, channels, the memory limit and files that
// are not music.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "music_test_support.h"
#include "scratch_dir.h"

TEST(AudioDecoder, WavAndFlacComeBackSampleForSample) {
    ScratchDir dir;
    std::vector<int16_t> counter = CounterSignal(40000);
    for (int format : {SF_FORMAT_WAV | SF_FORMAT_PCM_16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16}) {
        std::string path = dir.file((format & SF_FORMAT_FLAC) ? "c.flac" : "c.wav");
        WriteSound(path, format, 22050, 2, counter);
        std::string error;
        ClipPtr clip = DecodeAudioFile(path, error);
        ASSERT_TRUE(clip) << error;
        EXPECT_EQ(clip->rate, 22050u);
        EXPECT_EQ(clip->channels, 2u);
        EXPECT_EQ(clip->FrameCount(), 40000u);
        EXPECT_EQ(clip->samples, counter) << path;
        EXPECT_DOUBLE_EQ(clip->DurationMs(), 40000 * 1000.0 / 22050);
    }
}

TEST(AudioDecoder, OggVorbisKeepsLengthAndShape) {
    ScratchDir dir;
    std::vector<int16_t> chirp = ChirpSignal(44100, 22050);
    WriteSound(dir.file("c.ogg"), SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050, 1, chirp);
    std::string error;
    ClipPtr clip = DecodeAudioFile(dir.file("c.ogg"), error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->channels, 1u);
    ASSERT_EQ(clip->FrameCount(), 44100u);
    double err = 0;
    for (size_t i = 0; i < chirp.size(); i++)
        err += std::abs(clip->samples[i] - chirp[i]);
    EXPECT_LT(err / chirp.size(), 300.0); // of a 16384 amplitude: a faithful lossy copy
}

TEST(AudioDecoder, MoreThanTwoChannelsAreMixedToMono) {
    ScratchDir dir;
    std::vector<int16_t> four;
    for (int i = 0; i < 100; i++)
        for (int16_t v : {100, 200, 300, -200})
            four.push_back(v);
    WriteSound(dir.file("q.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 4, four);
    std::string error;
    ClipPtr clip = DecodeAudioFile(dir.file("q.wav"), error);
    ASSERT_TRUE(clip) << error;
    EXPECT_EQ(clip->channels, 1u);
    ASSERT_EQ(clip->FrameCount(), 100u);
    EXPECT_EQ(clip->samples[0], 100); // (100 + 200 + 300 - 200) / 4
    EXPECT_EQ(clip->samples[99], 100);
}

TEST(AudioDecoder, MissingAndNonMusicFilesSayWhy) {
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(DecodeAudioFile(dir.file("none.ogg"), error));
    EXPECT_FALSE(error.empty());
    dir.Write("text.ogg", "not music at all, just words that go on for a while");
    error.clear();
    EXPECT_FALSE(DecodeAudioFile(dir.file("text.ogg"), error));
    EXPECT_FALSE(error.empty());
    error.clear();
    EXPECT_FALSE(DecodeAudioFile(dir.path(), error)); // a directory
    EXPECT_FALSE(error.empty());
}

TEST(AudioDecoder, FifosAndDevicesAreRefusedWithoutWaiting) {
    ScratchDir dir;
    ASSERT_EQ(mkfifo(dir.file("pipe.ogg").c_str(), 0600), 0);
    std::string error;
    EXPECT_FALSE(DecodeAudioFile(dir.file("pipe.ogg"), error)); // would block in open() otherwise
    EXPECT_EQ(error, "not a regular file");
    error.clear();
    EXPECT_FALSE(DecodeAudioFile("/dev/zero", error));
    EXPECT_EQ(error, "not a regular file");
}

TEST(AudioDecoder, FilesPastTheMemoryLimitAreRefused) {
    ScratchDir dir;
    WriteSound(dir.file("long.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, std::vector<int16_t>(20000, 5));
    std::string error;
    EXPECT_FALSE(DecodeAudioFile(dir.file("long.wav"), error, nullptr, 30000));
    EXPECT_NE(error.find("MiB"), std::string::npos) << error;
    ClipPtr clip = DecodeAudioFile(dir.file("long.wav"), error, nullptr, 40000);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->FrameCount(), 20000u);
}

TEST(AudioDecoder, AHeaderClaimingBillionsOfFramesReadsOnlyWhatIsThere) {
    ScratchDir dir;
    WriteSound(dir.file("liar.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, std::vector<int16_t>(1000, 7));
    // Claim 2^31 bytes of data in the RIFF and data chunk sizes.
    std::string bytes = dir.Read("liar.wav");
    size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    for (size_t at : {(size_t)4, data + 4})
        for (int i = 0; i < 4; i++)
            bytes[at + i] = i == 3 ? '\x7f' : '\xff';
    dir.Write("liar.wav", bytes);
    std::string error;
    ClipPtr clip = DecodeAudioFile(dir.file("liar.wav"), error);
    if (clip) EXPECT_EQ(clip->FrameCount(), 1000u);
    else EXPECT_FALSE(error.empty());
}

TEST(AudioDecoder, CancelStopsTheDecode) {
    ScratchDir dir;
    WriteSound(dir.file("a.wav"), SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1, std::vector<int16_t>(1000, 1));
    std::atomic<bool> cancel{true};
    std::string error;
    EXPECT_FALSE(DecodeAudioFile(dir.file("a.wav"), error, &cancel));
}
