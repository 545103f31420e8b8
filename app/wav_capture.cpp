// A 44-byte WAV header followed by the captured samples, sizes filled in at the end.
#include "app/wav_capture.h"

#include <algorithm>

#include "app/wave_file_writer.h"

namespace {

bool writeHeader(WavCapture& capture) {
    uint8_t header[kWaveHeaderBytes];
    fillStereoWaveHeader(header, capture.sampleRate, capture.dataBytes);
    return std::fwrite(header, 1, kWaveHeaderBytes, capture.file) == kWaveHeaderBytes;
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
    uint8_t block[4096];
    for (int done = 0; done < byteCount;) {
        const int count = std::min(byteCount - done, static_cast<int>(sizeof block));
        copySamplesLittleEndian(block, bytes + done, static_cast<size_t>(count));
        capture.dataBytes +=
            static_cast<uint32_t>(std::fwrite(block, 1, static_cast<size_t>(count), capture.file));
        done += count;
    }
}

bool endWavCapture(WavCapture& capture) {
    if (capture.file == nullptr) return true;
    bool ok = std::fseek(capture.file, 0, SEEK_SET) == 0 && writeHeader(capture);
    ok = std::fclose(capture.file) == 0 && ok;
    capture.file = nullptr;
    return ok;
}
