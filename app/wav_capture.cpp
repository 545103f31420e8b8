// A canonical 44-byte RIFF WAVE header followed by the captured PCM bytes.
#include "app/wav_capture.h"

#include "files/little_endian.h"

namespace {

constexpr int kHeaderBytes = 44;
constexpr int kChannels = 2;
constexpr int kBitsPerSample = 16;
constexpr int kBlockAlign = kChannels * kBitsPerSample / 8;

void fillHeader(uint8_t* header, int sampleRate, uint32_t dataBytes) {
    uint8_t* p = header;
    auto tag = [&p](const char* text) {
        for (int i = 0; i < 4; ++i) *p++ = static_cast<uint8_t>(text[i]);
    };
    tag("RIFF");
    p = writeLe32(p, 36 + dataBytes);
    tag("WAVE");
    tag("fmt ");
    p = writeLe32(p, 16);
    p = writeLe16(p, 1); // PCM
    p = writeLe16(p, kChannels);
    p = writeLe32(p, static_cast<uint32_t>(sampleRate));
    p = writeLe32(p, static_cast<uint32_t>(sampleRate) * kBlockAlign);
    p = writeLe16(p, kBlockAlign);
    p = writeLe16(p, kBitsPerSample);
    tag("data");
    writeLe32(p, dataBytes);
}

bool writeHeader(WavCapture& capture) {
    uint8_t header[kHeaderBytes];
    fillHeader(header, capture.sampleRate, capture.dataBytes);
    return std::fwrite(header, 1, kHeaderBytes, capture.file) == kHeaderBytes;
}

} // namespace

bool beginWavCapture(WavCapture& capture, const std::string& path, int sampleRate) {
    endWavCapture(capture);
    capture.file = std::fopen(path.c_str(), "wb");
    capture.sampleRate = sampleRate;
    capture.dataBytes = 0;
    if (capture.file == nullptr) return false;
    return writeHeader(capture);
}

void appendWavCapture(WavCapture& capture, const uint8_t* bytes, int byteCount) {
    if (capture.file == nullptr || byteCount <= 0) return;
    capture.dataBytes +=
        static_cast<uint32_t>(std::fwrite(bytes, 1, static_cast<size_t>(byteCount), capture.file));
}

bool endWavCapture(WavCapture& capture) {
    if (capture.file == nullptr) return true;
    bool ok = std::fseek(capture.file, 0, SEEK_SET) == 0 && writeHeader(capture);
    ok = std::fclose(capture.file) == 0 && ok;
    capture.file = nullptr;
    return ok;
}
