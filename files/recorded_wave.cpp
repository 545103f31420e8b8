// The recorded WAV: header for the recording's format, samples converted from the temp text.
#include "files/recorded_wave.h"

#include <cstdio>
#include <memory>

#include "base/little_endian.h"
#include "files/safe_file_writer.h"
#include "files/temp_recording_file.h"

namespace {

// The RIFF, "fmt ", "fact" and the opened "data" chunk of a PCM stereo 16-bit file.
void buildHeader(uint8_t* header, uint32_t rate, uint32_t dataBytes) {
    auto tag = [](uint8_t* p, const char* text) {
        for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(text[i]);
        return p + 4;
    };
    uint8_t* p = header;
    p = tag(p, "RIFF");
    p = writeLe32(p, kRecordedWaveHeaderBytes - 8 + dataBytes);
    p = tag(p, "WAVE");
    p = tag(p, "fmt ");
    p = writeLe32(p, 16);
    p = writeLe16(p, 1); // PCM
    p = writeLe16(p, 2); // channels
    p = writeLe32(p, rate);
    p = writeLe32(p, 4 * rate); // average bytes per second
    p = writeLe16(p, 4);        // block align
    p = writeLe16(p, 16);       // bits per sample
    p = tag(p, "fact");
    p = writeLe32(p, 4);
    p = writeLe32(p, dataBytes / 4); // sample frames
    p = tag(p, "data");
    writeLe32(p, dataBytes);
}

// Reads the temporary file's decimals one by one, the way "%d" reads them.
struct TempTextReader {
    std::FILE* file = nullptr;
    char buffer[1 << 16];
    size_t length = 0;
    size_t pos = 0;

    int next() {
        if (pos == length) {
            length = std::fread(buffer, 1, sizeof buffer, file);
            pos = 0;
            if (length == 0) return EOF;
        }
        return static_cast<unsigned char>(buffer[pos++]);
    }
    void unread() { --pos; } // only right after a next() that returned a character

    // False when the text has ended or holds something that is not a number.
    bool readValue(int32_t& value) {
        int c;
        do c = next();
        while (c == ' ' || (c >= '\t' && c <= '\r'));
        bool negative = false;
        if (c == '+' || c == '-') {
            negative = c == '-';
            c = next();
        }
        if (c < '0' || c > '9') return false;
        uint32_t magnitude = 0; // only the low 16 bits matter for a sample
        for (; c >= '0' && c <= '9'; c = next()) magnitude = magnitude * 10 + (c - '0');
        if (c != EOF) unread();
        value = static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
        return true;
    }
};

// Copies `values` samples from the temporary text into the WAV; when the text ends early the
// last value read fills the rest.
bool convertSamples(std::FILE* text, uint64_t values, SafeFileWriter& writer) {
    auto reader = std::make_unique<TempTextReader>();
    reader->file = text;
    uint8_t out[1 << 15];
    size_t used = 0;
    int32_t value = 0;
    bool textLeft = true;
    for (uint64_t n = 0; n < values; ++n) {
        if (textLeft) textLeft = reader->readValue(value);
        writeLe16(out + used, static_cast<uint16_t>(value));
        used += 2;
        if (used == sizeof out) {
            if (!writeSafeFile(writer, out, used)) return false;
            used = 0;
        }
    }
    return writeSafeFile(writer, out, used);
}

} // namespace

RecordedWaveWrite writeRecordedWaveFile(const RecordedTake& take, const std::string& path) {
    const uint64_t values = static_cast<uint64_t>(take.chunks > 0 ? take.chunks : 0) *
                            static_cast<uint64_t>(take.chunkFrames) * 2;
    const uint64_t dataBytes = values * 2;
    SafeFileWriter writer;
    if (dataBytes > UINT32_MAX - kRecordedWaveHeaderBytes || !beginSafeFile(writer, path))
        return RecordedWaveWrite::NotWritten;
    uint8_t header[kRecordedWaveHeaderBytes];
    buildHeader(header, static_cast<uint32_t>(take.rate), static_cast<uint32_t>(dataBytes));
    writeSafeFile(writer, header, sizeof header);
    std::FILE* text = openTempRecordingFileForReading();
    if (!text) {
        abandonSafeFile(writer);
        return RecordedWaveWrite::NoTempFile;
    }
    const bool converted = convertSamples(text, values, writer);
    std::fclose(text);
    if (!converted) {
        abandonSafeFile(writer);
        return RecordedWaveWrite::NotWritten;
    }
    return commitSafeFile(writer) ? RecordedWaveWrite::Written : RecordedWaveWrite::NotWritten;
}
