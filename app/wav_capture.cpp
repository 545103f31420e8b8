// A 44-byte WAV header followed by the captured samples, sizes filled in at the end.
#include "app/wav_capture.h"

#include <algorithm>

#include "app/wave_file_writer.h"

namespace {

void abandon(WavCapture& capture) {
    abandonSafeFile(capture.writer);
    capture.running = false;
}

} // namespace

bool beginWavCapture(WavCapture& capture, const std::string& path, int sampleRate) {
    endWavCapture(capture);
    capture.path = path;
    capture.sampleRate = sampleRate;
    capture.dataBytes = 0;
    if (!beginSafeFile(capture.writer, path)) return false;
    uint8_t header[kWaveHeaderBytes];
    fillStereoWaveHeader(header, sampleRate, 0);
    capture.running = writeSafeFile(capture.writer, header, kWaveHeaderBytes);
    if (!capture.running) abandonSafeFile(capture.writer);
    return capture.running;
}

bool appendWavCapture(WavCapture& capture, const uint8_t* bytes, int byteCount,
                      std::string& error) {
    if (!capture.running || byteCount <= 0) return true;
    if (static_cast<uint64_t>(capture.dataBytes) + static_cast<uint64_t>(byteCount) >
        kMaxWaveDataBytes) {
        abandon(capture);
        error = "capture " + capture.path + " would pass the 4 GiB a WAV file can hold";
        return false;
    }
    uint8_t block[1 << 14];
    for (int done = 0; done < byteCount;) {
        const int count = std::min(byteCount - done, static_cast<int>(sizeof block));
        copySamplesLittleEndian(block, bytes + done, static_cast<size_t>(count));
        if (!writeSafeFile(capture.writer, block, static_cast<size_t>(count))) {
            abandon(capture);
            error = "cannot write " + capture.path;
            return false;
        }
        done += count;
    }
    capture.dataBytes += static_cast<uint32_t>(byteCount);
    return true;
}

bool endWavCapture(WavCapture& capture) {
    if (!capture.running) return true;
    capture.running = false;
    uint8_t header[kWaveHeaderBytes];
    fillStereoWaveHeader(header, capture.sampleRate, capture.dataBytes);
    if (!rewriteSafeFile(capture.writer, 0, header, kWaveHeaderBytes)) {
        abandonSafeFile(capture.writer);
        return false;
    }
    return commitSafeFile(capture.writer);
}
