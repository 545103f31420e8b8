// Sound files written as they are rendered (WAV, FLAC, Ogg Vorbis through libsndfile), replacing
// their target only when complete.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/safe_file_writer.h"

// The formats a song can be exported to.
enum class AudioFormat { Wav16, Wav24, WavFloat, Flac16, Flac24, OggVorbis };

// The format named on the command line (wav16, wav24, wavf32, flac16, flac24, ogg); false for
// any other name.
bool parseAudioFormat(std::string_view name, AudioFormat& format);

// The file name extension of the format, without the dot: "wav", "flac" or "ogg".
const char* audioFormatExtension(AudioFormat format);

// Whether `frames` frames of `channels` channels of the format fit what a plain WAV header can
// count; beyond it WAV output is written as RF64.
bool fitsWaveHeader(AudioFormat format, int channels, uint64_t frames);

// One sound file being written. Samples go through a temporary file beside the target, every
// write checked; finish() renames it into place. A writer destroyed or abandoned before
// finish() removes its temporary file and leaves the target as it was.
class AudioFileWriter {
  public:
    AudioFileWriter() = default;
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;
    ~AudioFileWriter();

    // Starts writing `path`. `maxFrames` is the most frames that will be written: WAV output
    // that could pass what a WAV header counts is written as RF64. False with a message in
    // `error` when the file cannot be created.
    bool open(const std::string& path, AudioFormat format, int sampleRate, int channels,
              uint64_t maxFrames, std::string& error);

    // Appends `frames` interleaved frames, full scale +-1. Each sample is clipped to +-1 (NaN
    // becomes 0) before it is converted, so nothing wraps; PCM samples are truncated toward
    // zero, as the mixer converts. False with a message once a write has failed.
    bool write(const float* samples, size_t frames, std::string& error);

    // Completes the file and renames it over the target. False with a message when anything
    // failed; then nothing is left behind.
    bool finish(std::string& error);

    // Gives up: removes the temporary file.
    void abandon();

    // Bytes written so far, headers included.
    uint64_t bytesWritten() const { return length_; }

  private:
    friend struct AudioFileIo;
    bool writePcm(const float* samples, size_t frames);
    bool writeFloat(const float* samples, size_t frames);

    SafeFileWriter safe_;
    void* file_ = nullptr; // the libsndfile handle (SNDFILE*)
    AudioFormat format_ = AudioFormat::Wav16;
    int channels_ = 0;
    std::string path_;
    uint64_t position_ = 0; // where libsndfile writes next in the temporary file
    uint64_t length_ = 0;   // bytes in the temporary file
    bool failed_ = false;
};
