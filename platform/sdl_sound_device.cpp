// The sound device that plays the stream through SDL2 audio, with a clocked stand-in.
#include "platform/sdl_sound_device.h"

#include "engine/clocked_sound_device.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kStartRate = 22050; // the rate the device opens at before any buffer exists
// SDL's device buffer, in frames, is kept within what SDL takes (a 16-bit count) and what
// a device can sensibly play.
constexpr int kMinBufferFrames = 64;
constexpr int kMaxBufferFrames = 8192;

class SdlSoundDevice final : public SoundDevice {
  public:
    SdlSoundDevice(const std::string& deviceName, int bufferFrames);
    ~SdlSoundDevice() override;
    SdlSoundDevice(const SdlSoundDevice&) = delete;
    SdlSoundDevice& operator=(const SdlSoundDevice&) = delete;

    bool createBuffer(int sampleRate, int bufferBytes) override;
    void releaseBuffer() override;
    void playLooping() override;
    void stop() override;
    int playCursor() override;
    uint8_t* lockRegion(int offset, int bytes) override;
    void unlockRegion() override;
    bool isSilent() const override { return device_ == 0; }

    uint32_t deviceId() const { return device_; }
    // Opens the SDL device at `sampleRate` before any buffer exists.
    void openAt(int sampleRate) { openDevice(sampleRate); }
    bool reopen(const std::string& deviceName, int bufferFrames);

  private:
    static void SDLCALL fillCallback(void* self, Uint8* out, int length);
    void fill(uint8_t* out, int length);
    bool openDevice(int sampleRate);
    void closeDevice();
    void recoverFromLoss();
    void useClockedStandIn();
    void leaveClockedStandIn();

    std::string deviceName_; // SDL's name of the chosen output; empty: the default
    int bufferFrames_;       // SDL's device buffer, in frames: how much each callback plays
    bool audioInitialised_ = false;
    SDL_AudioDeviceID device_ = 0; // 0 while the clocked stand-in plays
    int deviceRate_ = 0;           // rate the SDL device was opened at
    ClockedSoundDevice standIn_;
    bool standInLocked_ = false;

    // Shared with the SDL callback: changed only while the SDL device is locked.
    std::vector<uint8_t> buffer_;
    int size_ = 0; // bytes of buffer_
    bool playing_ = false;
    int sampleRate_ = 0;
    std::atomic<int> cursor_{0}; // bytes; advanced by the callback
};

// SDL would turn Ctrl+C and SIGTERM into quit events that nobody reads, and the program would
// not end: the signals keep their default action.
bool initSdlAudio() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    return SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
}

SdlSoundDevice::SdlSoundDevice(const std::string& deviceName, int bufferFrames)
    : deviceName_(deviceName), bufferFrames_(bufferFrames) {
    audioInitialised_ = initSdlAudio();
}

SdlSoundDevice::~SdlSoundDevice() {
    closeDevice();
    if (audioInitialised_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SDLCALL SdlSoundDevice::fillCallback(void* self, Uint8* out, int length) {
    static_cast<SdlSoundDevice*>(self)->fill(out, length);
}

// Runs on SDL's audio thread with the device locked: plays the buffer from the cursor onward,
// wrapping at its end; silence while stopped, and while a device that has just opened has not
// yet taken the buffer over from the clocked stand-in.
void SdlSoundDevice::fill(uint8_t* out, int length) {
    if (!playing_ || size_ == 0 || buffer_.size() != static_cast<size_t>(size_)) {
        std::memset(out, 0, static_cast<size_t>(length));
        return;
    }
    int cursor = cursor_.load(std::memory_order_relaxed);
    while (length > 0) {
        const int run = std::min(length, size_ - cursor);
        std::memcpy(out, buffer_.data() + cursor, static_cast<size_t>(run));
        out += run;
        length -= run;
        cursor = (cursor + run) % size_;
    }
    cursor_.store(cursor, std::memory_order_relaxed);
}

// Opens the chosen device, or the default one when the chosen one cannot be opened (it was
// unplugged since it was chosen).
bool SdlSoundDevice::openDevice(int sampleRate) {
    if (!audioInitialised_) audioInitialised_ = initSdlAudio();
    if (!audioInitialised_) return false;
    SDL_AudioSpec wanted{};
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples =
        static_cast<Uint16>(std::clamp(bufferFrames_, kMinBufferFrames, kMaxBufferFrames));
    wanted.callback = &SdlSoundDevice::fillCallback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // No allowed changes: SDL converts to whatever the hardware wants, and each callback plays
    // exactly bufferFrames_ frames.
    if (!deviceName_.empty())
        device_ = SDL_OpenAudioDevice(deviceName_.c_str(), 0, &wanted, &obtained, 0);
    if (device_ == 0) device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device_ == 0) return false;
    deviceRate_ = sampleRate;
    SDL_PauseAudioDevice(device_, 0); // the callback plays silence while stopped
    return true;
}

void SdlSoundDevice::closeDevice() {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    device_ = 0;
    deviceRate_ = 0;
}

// The clocked stand-in takes over the buffer's place and playing state.
void SdlSoundDevice::useClockedStandIn() {
    closeDevice();
    standIn_.createBuffer(sampleRate_, size_);
    if (playing_) standIn_.playLoopingFrom(cursor_.load());
}

// The SDL device takes the buffer back from the stand-in: its samples, place and playing state.
void SdlSoundDevice::leaveClockedStandIn() {
    std::vector<uint8_t> samples(static_cast<size_t>(size_), 0);
    if (size_ > 0) {
        if (const uint8_t* region = standIn_.lockRegion(0, size_)) {
            std::memcpy(samples.data(), region, samples.size());
            standIn_.unlockRegion();
        }
    }
    const int cursor = standIn_.playCursor();
    standIn_.releaseBuffer();
    SDL_LockAudioDevice(device_);
    buffer_ = std::move(samples);
    cursor_.store(cursor);
    SDL_UnlockAudioDevice(device_);
}

// The stream goes on through another device or buffer size: closed and opened again as after a
// loss, with the buffer, its place and the playing state kept.
bool SdlSoundDevice::reopen(const std::string& deviceName, int bufferFrames) {
    const bool wasStandIn = device_ == 0;
    const int rate = wasStandIn ? (sampleRate_ > 0 ? sampleRate_ : kStartRate) : deviceRate_;
    closeDevice();
    deviceName_ = deviceName;
    bufferFrames_ = bufferFrames;
    if (!openDevice(rate)) {
        if (!wasStandIn) useClockedStandIn();
        return false;
    }
    if (wasStandIn) leaveClockedStandIn();
    return true;
}

bool SdlSoundDevice::createBuffer(int sampleRate, int bufferBytes) {
    releaseBuffer();
    if (sampleRate <= 0 || bufferBytes <= 0 || bufferBytes % 4 != 0) return false;
    if (device_ == 0 || deviceRate_ != sampleRate) {
        closeDevice();
        openDevice(sampleRate);
    }
    if (device_ == 0) {
        sampleRate_ = sampleRate;
        size_ = bufferBytes;
        return standIn_.createBuffer(sampleRate, bufferBytes);
    }
    standIn_.releaseBuffer();
    SDL_LockAudioDevice(device_);
    buffer_.assign(static_cast<size_t>(bufferBytes), 0);
    size_ = bufferBytes;
    sampleRate_ = sampleRate;
    playing_ = false;
    cursor_.store(0);
    SDL_UnlockAudioDevice(device_);
    return true;
}

void SdlSoundDevice::releaseBuffer() {
    if (device_ != 0) SDL_LockAudioDevice(device_);
    playing_ = false;
    size_ = 0;
    sampleRate_ = 0;
    buffer_.clear();
    buffer_.shrink_to_fit();
    cursor_.store(0);
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
    standIn_.releaseBuffer();
}

void SdlSoundDevice::playLooping() {
    if (device_ == 0) {
        playing_ = size_ > 0;
        standIn_.playLooping();
        return;
    }
    SDL_LockAudioDevice(device_);
    cursor_.store(0);
    playing_ = size_ > 0;
    SDL_UnlockAudioDevice(device_);
}

void SdlSoundDevice::stop() {
    if (device_ == 0) {
        playing_ = false;
        standIn_.stop();
        return;
    }
    SDL_LockAudioDevice(device_);
    playing_ = false;
    SDL_UnlockAudioDevice(device_);
}

// A device that was unplugged reports itself stopped (this program never pauses it): reopen the
// chosen or else the default device at the same rate and carry on, or fall back to the clocked
// stand-in.
void SdlSoundDevice::recoverFromLoss() {
    const int rate = deviceRate_;
    closeDevice();
    if (!openDevice(rate)) useClockedStandIn();
}

int SdlSoundDevice::playCursor() {
    if (device_ != 0 && SDL_GetAudioDeviceStatus(device_) == SDL_AUDIO_STOPPED) recoverFromLoss();
    if (device_ == 0) return standIn_.playCursor();
    return cursor_.load(std::memory_order_relaxed);
}

uint8_t* SdlSoundDevice::lockRegion(int offset, int bytes) {
    if (device_ == 0) {
        uint8_t* region = standIn_.lockRegion(offset, bytes);
        standInLocked_ = region != nullptr;
        return region;
    }
    SDL_LockAudioDevice(device_);
    if (offset < 0 || bytes <= 0 || offset > size_ - bytes) {
        SDL_UnlockAudioDevice(device_);
        return nullptr;
    }
    return buffer_.data() + offset;
}

void SdlSoundDevice::unlockRegion() {
    if (standInLocked_) {
        standIn_.unlockRegion();
        standInLocked_ = false;
        return;
    }
    if (device_ != 0) SDL_UnlockAudioDevice(device_);
}

} // namespace

std::unique_ptr<SoundDevice> openSdlSoundDevice(const std::string& deviceName, int bufferFrames) {
    auto device = std::make_unique<SdlSoundDevice>(deviceName, bufferFrames);
    device->openAt(kStartRate); // createBuffer reopens it for another rate
    return device;
}

bool reopenSdlSoundDevice(SoundDevice& device, const std::string& deviceName, int bufferFrames) {
    auto* sdlDevice = dynamic_cast<SdlSoundDevice*>(&device);
    return sdlDevice != nullptr && sdlDevice->reopen(deviceName, bufferFrames);
}

std::vector<std::string> sdlOutputDeviceNames() {
    std::vector<std::string> names;
    if (!initSdlAudio()) return names;
    // Negative when the driver cannot list its devices: then only the default is offered.
    const int count = SDL_GetNumAudioDevices(0);
    for (int i = 0; i < count; ++i)
        if (const char* name = SDL_GetAudioDeviceName(i, 0)) names.emplace_back(name);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return names;
}

uint32_t sdlAudioDeviceId(const SoundDevice& device) {
    const auto* sdlDevice = dynamic_cast<const SdlSoundDevice*>(&device);
    return sdlDevice != nullptr ? sdlDevice->deviceId() : 0;
}
