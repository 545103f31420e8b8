// Sound files written while rendering: each format read back, clipping, failed writes.
#include <gtest/gtest.h>

#include <sndfile.h>

#include <cmath>
#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "files/audio_file_writer.h"

namespace {

std::string scratchFolder() {
    char folder[] = "/tmp/humbrook-audio-XXXXXX";
    return mkdtemp(folder) != nullptr ? folder : "";
}

int entryCount(const std::string& folder) {
    int count = 0;
    DIR* dir = opendir(folder.c_str());
    while (dirent* entry = readdir(dir)) count += entry->d_name[0] != '.' || entry->d_name[1] > '.';
    closedir(dir);
    return count;
}

// A stereo test signal: two tones on the left, a slow ramp through every 16-bit step from the
// negative full scale on the right.
std::vector<float> testSignal(size_t frames) {
    std::vector<float> samples(2 * frames);
    for (size_t i = 0; i < frames; ++i) {
        const float t = static_cast<float>(i) / 44100.0f;
        samples[2 * i] = 0.6f * std::sin(2763.0f * t) + 0.3f * std::sin(7754.0f * t);
        samples[2 * i + 1] = static_cast<float>(static_cast<int>(i % 65536) - 32768) / 32768.0f;
    }
    return samples;
}

bool writeFile(const std::string& path, AudioFormat format, const std::vector<float>& samples,
               std::string& error) {
    AudioFileWriter writer;
    return writer.open(path, format, 44100, 2, samples.size() / 2, error) &&
           writer.write(samples.data(), samples.size() / 2, error) && writer.finish(error);
}

struct Decoded {
    SF_INFO info{};
    std::vector<float> samples;
    std::vector<int> ints; // full-scale 32-bit PCM as libsndfile reads it
};

Decoded readBack(const std::string& path) {
    Decoded decoded;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &decoded.info);
    if (file == nullptr) return decoded;
    const size_t count = static_cast<size_t>(decoded.info.frames * decoded.info.channels);
    decoded.samples.resize(count);
    decoded.ints.resize(count);
    sf_readf_float(file, decoded.samples.data(), decoded.info.frames);
    sf_seek(file, 0, SEEK_SET);
    sf_readf_int(file, decoded.ints.data(), decoded.info.frames);
    sf_close(file);
    return decoded;
}

// The PCM value the writer is to store: truncated toward zero, within the range of `bits`.
int expectedPcm(float sample, int bits) {
    const double scale = std::ldexp(1.0, bits - 1);
    const long long value = static_cast<long long>(std::clamp(sample, -1.0f, 1.0f) * scale);
    return static_cast<int>(std::clamp<long long>(value, -scale, scale - 1));
}

} // namespace

TEST(AudioFileWriter, EveryFormatReadsBackAsWritten) {
    const std::string folder = scratchFolder();
    const std::vector<float> samples = testSignal(50000);
    struct Case {
        AudioFormat format;
        int bits;        // PCM bits that must come back exactly; 0 for float and Vorbis
        float tolerance; // for float and Vorbis
        int major;
    };
    const Case cases[] = {
        {AudioFormat::Wav16, 16, 0, SF_FORMAT_WAV},
        {AudioFormat::Wav24, 24, 0, SF_FORMAT_WAV},
        {AudioFormat::WavFloat, 0, 0, SF_FORMAT_WAV},
        {AudioFormat::Flac16, 16, 0, SF_FORMAT_FLAC},
        {AudioFormat::Flac24, 24, 0, SF_FORMAT_FLAC},
        {AudioFormat::OggVorbis, 0, 0.02f, SF_FORMAT_OGG},
    };
    for (const Case& c : cases) {
        const std::string path = folder + "/out." + std::string(audioFormatExtension(c.format));
        std::string error;
        ASSERT_TRUE(writeFile(path, c.format, samples, error)) << error;
        const Decoded decoded = readBack(path);
        SCOPED_TRACE(path + " format " + std::to_string(static_cast<int>(c.format)));
        EXPECT_EQ(decoded.info.format & SF_FORMAT_TYPEMASK, c.major);
        EXPECT_EQ(decoded.info.samplerate, 44100);
        ASSERT_EQ(decoded.info.channels, 2);
        ASSERT_EQ(decoded.info.frames, 50000);
        double error2 = 0, signal2 = 0;
        for (size_t i = 0; i < samples.size(); ++i) {
            if (c.bits > 0) {
                ASSERT_EQ(decoded.ints[i] >> (32 - c.bits), expectedPcm(samples[i], c.bits)) << i;
            } else if (c.tolerance == 0) {
                ASSERT_EQ(decoded.samples[i], samples[i]) << i;
            }
            error2 += std::pow(decoded.samples[i] - samples[i], 2);
            signal2 += std::pow(samples[i], 2);
        }
        // Vorbis is lossy: the decoded signal stays within the codec's error of the original.
        if (c.tolerance > 0) {
            EXPECT_LT(std::sqrt(error2 / signal2), c.tolerance);
        }
        std::remove(path.c_str());
    }
    rmdir(folder.c_str());
}

TEST(AudioFileWriter, SamplesBeyondFullScaleAreClippedNotWrapped) {
    const std::string folder = scratchFolder();
    const std::vector<float> loud = {1.5f, -1.5f, 1.0f, -1.0f, 40.0f, -1e30f, NAN, 0.5f};
    for (AudioFormat format : {AudioFormat::Wav16, AudioFormat::Wav24, AudioFormat::WavFloat,
                               AudioFormat::Flac16, AudioFormat::Flac24}) {
        const std::string path = folder + "/loud." + audioFormatExtension(format);
        std::string error;
        ASSERT_TRUE(writeFile(path, format, loud, error)) << error;
        const Decoded decoded = readBack(path);
        ASSERT_EQ(decoded.samples.size(), loud.size());
        const float top = format == AudioFormat::WavFloat ? 1.0f : 0.99f;
        for (int i : {0, 2, 4}) EXPECT_GE(decoded.samples[i], top) << path << " sample " << i;
        for (int i : {1, 3, 5}) EXPECT_LE(decoded.samples[i], -1.0f) << path << " sample " << i;
        for (float s : decoded.samples) EXPECT_LE(std::abs(s), 1.0f) << path;
        EXPECT_EQ(decoded.samples[6], 0.0f) << path; // NaN is silence
        EXPECT_NEAR(decoded.samples[7], 0.5f, 1e-4f) << path;
        std::remove(path.c_str());
    }
    rmdir(folder.c_str());
}

TEST(AudioFileWriter, AFailedWriteLeavesNothingBehind) {
    const std::string folder = scratchFolder();
    const std::string path = folder + "/big.wav";
    // A child process whose files may not grow past 64 KiB: its writes fail part way.
    const pid_t child = fork();
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit = {65536, 65536};
        setrlimit(RLIMIT_FSIZE, &limit);
        const std::vector<float> samples = testSignal(100000);
        std::string error;
        bool ok = false;
        {
            AudioFileWriter writer;
            ok = writer.open(path, AudioFormat::Wav16, 44100, 2, 100000, error);
            for (int i = 0; ok && i < 10; ++i)
                ok = writer.write(samples.data() + i * 20000, 10000, error);
            ok = ok && writer.finish(error);
        }
        _exit(!ok && error == "cannot write " + path ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write did not fail with a message";
    EXPECT_EQ(entryCount(folder), 0) << "something was left behind";

    // A writer given up part way leaves the earlier file as it was.
    std::string error;
    const std::vector<float> samples = testSignal(1000);
    ASSERT_TRUE(writeFile(path, AudioFormat::Flac16, samples, error)) << error;
    {
        AudioFileWriter writer;
        ASSERT_TRUE(writer.open(path, AudioFormat::Wav16, 22050, 2, 1000, error));
        ASSERT_TRUE(writer.write(samples.data(), 500, error));
    } // destroyed without finish()
    EXPECT_EQ(entryCount(folder), 1);
    EXPECT_EQ(readBack(path).info.frames, 1000);
    EXPECT_EQ(readBack(path).info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_FLAC);
    std::remove(path.c_str());

    EXPECT_FALSE(writeFile(folder + "/missing/x.wav", AudioFormat::Wav16, samples, error));
    EXPECT_EQ(error, "cannot create " + folder + "/missing/x.wav");
    rmdir(folder.c_str());
}

TEST(AudioFileWriter, WaveOutputBeyondTheHeaderLimitIsWrittenAsRf64) {
    const std::string folder = scratchFolder();
    const std::vector<float> samples = testSignal(1000);
    for (uint64_t maxFrames : {uint64_t{1000}, uint64_t{3} << 30}) {
        const std::string path = folder + "/long.wav";
        AudioFileWriter writer;
        std::string error;
        ASSERT_TRUE(writer.open(path, AudioFormat::Wav16, 44100, 2, maxFrames, error)) << error;
        ASSERT_TRUE(writer.write(samples.data(), 1000, error));
        ASSERT_TRUE(writer.finish(error)) << error;
        const Decoded decoded = readBack(path);
        EXPECT_EQ(decoded.info.format & SF_FORMAT_TYPEMASK,
                  maxFrames > 1000 ? SF_FORMAT_RF64 : SF_FORMAT_WAV);
        EXPECT_EQ(decoded.info.frames, 1000);
        std::remove(path.c_str());
    }
    rmdir(folder.c_str());
}

// The same samples give the same bytes, whenever written: no chunk records the time (libsndfile
// puts the time of writing into the PEAK chunk of float files unless told not to).
TEST(AudioFileWriter, AFloatWaveHoldsOnlyTheFormatAndTheSamples) {
    const std::string folder = scratchFolder();
    const std::string path = folder + "/float.wav";
    std::string error;
    ASSERT_TRUE(writeFile(path, AudioFormat::WavFloat, testSignal(100), error)) << error;
    std::vector<std::string> chunks;
    FILE* file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    unsigned char head[8];
    std::fseek(file, 12, SEEK_SET);
    while (std::fread(head, 1, 8, file) == 8) {
        chunks.emplace_back(reinterpret_cast<char*>(head), 4);
        const long size = head[4] | head[5] << 8 | head[6] << 16 | long{head[7]} << 24;
        std::fseek(file, size + (size & 1), SEEK_CUR);
    }
    std::fclose(file);
    // libsndfile pads the header where the PEAK chunk would have been.
    EXPECT_EQ(chunks, (std::vector<std::string>{"fmt ", "fact", "PAD ", "data"}));
    std::remove(path.c_str());
    rmdir(folder.c_str());
}

TEST(AudioFileWriter, FormatNamesAndTheWaveHeaderLimit) {
    AudioFormat format = AudioFormat::Wav16;
    EXPECT_TRUE(parseAudioFormat("flac24", format));
    EXPECT_EQ(format, AudioFormat::Flac24);
    EXPECT_TRUE(parseAudioFormat("wavf32", format));
    EXPECT_EQ(format, AudioFormat::WavFloat);
    EXPECT_FALSE(parseAudioFormat("mp3", format));
    EXPECT_FALSE(parseAudioFormat("", format));
    EXPECT_STREQ(audioFormatExtension(AudioFormat::OggVorbis), "ogg");
    // 16-bit stereo: 4 bytes a frame; about 2^30 frames fit, 2^30 + 1 do not.
    EXPECT_TRUE(fitsWaveHeader(AudioFormat::Wav16, 2, 1000000000));
    EXPECT_FALSE(fitsWaveHeader(AudioFormat::Wav16, 2, 1u << 30));
    EXPECT_FALSE(fitsWaveHeader(AudioFormat::WavFloat, 2, 600000000));
}
