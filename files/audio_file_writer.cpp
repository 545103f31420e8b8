// Sound files written as they are rendered, through libsndfile's virtual I/O onto a safe file.
#include "files/audio_file_writer.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// What a plain WAV header can count: the RIFF size must fit 32 bits, with room for the header
// and the chunks libsndfile adds (fact for float).
constexpr uint64_t kMaxWaveDataBytes = 0xFFFFFFFFu - 4096;
// Samples converted per libsndfile call: a fixed buffer, nothing allocated while writing.
constexpr size_t kBlockSamples = 4096;
constexpr int kMaxChannels = 8;

struct FormatInfo {
    const char* name;
    const char* extension;
    int sndfileFormat;
    int bits; // PCM bits; 0 for float and Vorbis samples
};

const FormatInfo& infoOf(AudioFormat format) {
    static const FormatInfo kInfo[] = {
        {"wav16", "wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 16},
        {"wav24", "wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 24},
        {"wavf32", "wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 0},
        {"flac16", "flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 16},
        {"flac24", "flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, 24},
        {"ogg", "ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 0},
    };
    return kInfo[static_cast<int>(format)];
}

int bytesPerSample(AudioFormat format) {
    const int bits = infoOf(format).bits;
    return bits > 0 ? bits / 8 : 4;
}

bool isWave(AudioFormat format) {
    return (infoOf(format).sndfileFormat & SF_FORMAT_TYPEMASK) == SF_FORMAT_WAV;
}

// +-1 full scale, NaN as silence.
float clipped(float sample) {
    if (sample != sample) return 0.0f;
    return std::clamp(sample, -1.0f, 1.0f);
}

} // namespace

// libsndfile's virtual I/O onto the writer's safe file: every byte goes through its checked
// writes, at the position libsndfile seeks to (headers are completed at the end).
struct AudioFileIo {
    static AudioFileWriter& writer(void* user) { return *static_cast<AudioFileWriter*>(user); }

    static sf_count_t length(void* user) { return static_cast<sf_count_t>(writer(user).length_); }

    static sf_count_t seek(sf_count_t offset, int whence, void* user) {
        AudioFileWriter& w = writer(user);
        const sf_count_t base = whence == SEEK_CUR   ? static_cast<sf_count_t>(w.position_)
                                : whence == SEEK_END ? static_cast<sf_count_t>(w.length_)
                                                     : 0;
        if (base + offset < 0) return -1;
        w.position_ = static_cast<uint64_t>(base + offset);
        return base + offset;
    }

    // The file is only written; nothing is read back.
    static sf_count_t read(void*, sf_count_t, void*) { return 0; }

    static sf_count_t write(const void* data, sf_count_t count, void* user) {
        AudioFileWriter& w = writer(user);
        if (count <= 0) return 0;
        if (!rewriteSafeFile(w.safe_, w.position_, data, static_cast<size_t>(count))) {
            w.failed_ = true;
            return 0;
        }
        w.position_ += static_cast<uint64_t>(count);
        w.length_ = std::max(w.length_, w.position_);
        return count;
    }

    static sf_count_t tell(void* user) { return static_cast<sf_count_t>(writer(user).position_); }
};

bool parseAudioFormat(std::string_view name, AudioFormat& format) {
    for (int f = 0; f <= static_cast<int>(AudioFormat::OggVorbis); ++f) {
        if (name == infoOf(static_cast<AudioFormat>(f)).name) {
            format = static_cast<AudioFormat>(f);
            return true;
        }
    }
    return false;
}

const char* audioFormatExtension(AudioFormat format) {
    return infoOf(format).extension;
}

bool fitsWaveHeader(AudioFormat format, int channels, uint64_t frames) {
    const uint64_t frameBytes = static_cast<uint64_t>(channels) * bytesPerSample(format);
    return frameBytes == 0 || frames <= kMaxWaveDataBytes / frameBytes;
}

AudioFileWriter::~AudioFileWriter() {
    abandon();
}

bool AudioFileWriter::open(const std::string& path, AudioFormat format, int sampleRate,
                           int channels, uint64_t maxFrames, std::string& error) {
    abandon();
    if (channels < 1 || channels > kMaxChannels) {
        error = "cannot write " + path + ": unsupported channel count";
        return false;
    }
    format_ = format;
    channels_ = channels;
    path_ = path;
    position_ = length_ = 0;
    failed_ = false;
    if (!beginSafeFile(safe_, path)) {
        error = "cannot create " + path;
        return false;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = infoOf(format).sndfileFormat;
    if (isWave(format) && !fitsWaveHeader(format, channels, maxFrames))
        info.format = (info.format & ~SF_FORMAT_TYPEMASK) | SF_FORMAT_RF64;
    static SF_VIRTUAL_IO io = {AudioFileIo::length, AudioFileIo::seek, AudioFileIo::read,
                               AudioFileIo::write, AudioFileIo::tell};
    file_ = sf_open_virtual(&io, SFM_WRITE, &info, this);
    if (file_ == nullptr) {
        error = std::string("cannot write ") + path + ": " + sf_strerror(nullptr);
        abandonSafeFile(safe_);
        return false;
    }
    // A float file's PEAK chunk holds the time of writing: without it the same sound gives the
    // same bytes whenever it is written.
    sf_command(static_cast<SNDFILE*>(file_), SFC_SET_ADD_PEAK_CHUNK, nullptr, SF_FALSE);
    return true;
}

bool AudioFileWriter::writePcm(const float* samples, size_t frames) {
    const int bits = infoOf(format_).bits;
    const double scale = std::ldexp(1.0, bits - 1);
    const int shift = 32 - bits; // libsndfile takes PCM in the top bits of an int
    const long long top = static_cast<long long>(scale) - 1;
    int block[kBlockSamples];
    const size_t blockFrames = kBlockSamples / static_cast<size_t>(channels_);
    SNDFILE* file = static_cast<SNDFILE*>(file_);
    for (size_t done = 0; done < frames;) {
        const size_t n = std::min(blockFrames, frames - done);
        const float* from = samples + done * static_cast<size_t>(channels_);
        for (size_t i = 0; i < n * static_cast<size_t>(channels_); ++i) {
            const long long value = static_cast<long long>(clipped(from[i]) * scale);
            block[i] = static_cast<int>(std::clamp(value, -top - 1, top) * (1LL << shift));
        }
        if (sf_writef_int(file, block, static_cast<sf_count_t>(n)) != static_cast<sf_count_t>(n))
            return false;
        done += n;
    }
    return true;
}

bool AudioFileWriter::writeFloat(const float* samples, size_t frames) {
    float block[kBlockSamples];
    const size_t blockFrames = kBlockSamples / static_cast<size_t>(channels_);
    SNDFILE* file = static_cast<SNDFILE*>(file_);
    for (size_t done = 0; done < frames;) {
        const size_t n = std::min(blockFrames, frames - done);
        const float* from = samples + done * static_cast<size_t>(channels_);
        for (size_t i = 0; i < n * static_cast<size_t>(channels_); ++i) block[i] = clipped(from[i]);
        if (sf_writef_float(file, block, static_cast<sf_count_t>(n)) != static_cast<sf_count_t>(n))
            return false;
        done += n;
    }
    return true;
}

bool AudioFileWriter::write(const float* samples, size_t frames, std::string& error) {
    if (file_ != nullptr && !failed_) {
        const bool ok =
            infoOf(format_).bits > 0 ? writePcm(samples, frames) : writeFloat(samples, frames);
        failed_ = failed_ || !ok;
    }
    if (file_ == nullptr || failed_) error = "cannot write " + path_;
    return file_ != nullptr && !failed_;
}

bool AudioFileWriter::finish(std::string& error) {
    if (file_ == nullptr) {
        error = "cannot write " + path_;
        return false;
    }
    // Closing completes the headers (sizes, FLAC stream information) through the same writes.
    const bool closed = sf_close(static_cast<SNDFILE*>(file_)) == 0;
    file_ = nullptr;
    if (!closed || failed_) {
        abandonSafeFile(safe_);
        error = "cannot write " + path_;
        return false;
    }
    if (!commitSafeFile(safe_)) {
        error = "cannot write " + path_;
        return false;
    }
    return true;
}

void AudioFileWriter::abandon() {
    if (file_ != nullptr) sf_close(static_cast<SNDFILE*>(file_));
    file_ = nullptr;
    abandonSafeFile(safe_);
}
