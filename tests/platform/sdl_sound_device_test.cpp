// The SDL sound device on SDL's dummy and disk drivers: cursor, looping, writes while playing,
// reopening after a loss, for another buffer size and from the clocked stand-in, and the device
// list.
#include "platform/sdl_sound_device.h"

#include "engine/clocked_sound_device.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Selects the SDL audio driver for the devices the test opens next.
void useDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
}

// Waits until the cursor has moved on from `from` (at most two seconds); returns the cursor.
int waitForCursorToLeave(SoundDevice& device, int from) {
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    int cursor = device.playCursor();
    while (cursor == from && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(2ms);
        cursor = device.playCursor();
    }
    return cursor;
}

void writeRegion(SoundDevice& device, int offset, int bytes, uint8_t value) {
    uint8_t* region = device.lockRegion(offset, bytes);
    ASSERT_NE(region, nullptr);
    std::memset(region, value, static_cast<size_t>(bytes));
    device.unlockRegion();
}

// Fills the first `frames` stereo frames: frame f holds the samples f + 1 (left) and -(f + 1)
// (right), so that what the driver played tells which frames it took.
void writeCountingFrames(SoundDevice& device, int frames) {
    uint8_t* region = device.lockRegion(0, 4 * frames);
    ASSERT_NE(region, nullptr);
    for (int f = 0; f < frames; ++f) {
        const int16_t frame[2] = {static_cast<int16_t>(f + 1), static_cast<int16_t>(-f - 1)};
        std::memcpy(region + 4 * f, frame, sizeof frame);
    }
    device.unlockRegion();
}

TEST(SdlSoundDevice, PlaysOnTheDummyDriverAndStops) {
    useDriver("dummy");
    auto device = openSdlSoundDevice();
    ASSERT_TRUE(device->createBuffer(22050, 94500));
    EXPECT_FALSE(device->isSilent());
    EXPECT_NE(sdlAudioDeviceId(*device), 0u);
    EXPECT_EQ(device->playCursor(), 0);
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(device->playCursor(), 0); // stopped: the callback plays silence

    device->playLooping();
    const int cursor = waitForCursorToLeave(*device, 0);
    EXPECT_GT(cursor, 0);
    EXPECT_LT(cursor, 94500);
    EXPECT_EQ(cursor % 4, 0);

    device->stop();
    std::this_thread::sleep_for(30ms); // a callback that was running finishes
    const int stopped = device->playCursor();
    std::this_thread::sleep_for(80ms);
    EXPECT_EQ(device->playCursor(), stopped);

    EXPECT_EQ(device->lockRegion(94000, 1000), nullptr); // outside the buffer
    EXPECT_EQ(device->lockRegion(-4, 8), nullptr);
}

// Ctrl+C in a terminal and the desktop's SIGTERM end the program: SDL installs no handler.
TEST(SdlSoundDevice, LeavesTheTerminationSignalsAlone) {
    useDriver("dummy");
    auto device = openSdlSoundDevice();
    ASSERT_TRUE(device->createBuffer(22050, 94500));
    for (int signal : {SIGINT, SIGTERM}) {
        struct sigaction action;
        ASSERT_EQ(sigaction(signal, nullptr, &action), 0);
        EXPECT_EQ(action.sa_handler, SIG_DFL) << "signal " << signal;
    }
}

TEST(SdlSoundDevice, WritesWhilePlayingAndReopensForAnotherRate) {
    useDriver("dummy");
    auto device = openSdlSoundDevice();
    ASSERT_TRUE(device->createBuffer(22050, 4 * 2048));
    device->playLooping();
    // The writer keeps rewriting chunks while the callback reads them (run under
    // ThreadSanitizer this shows the two never race).
    const auto until = std::chrono::steady_clock::now() + 300ms;
    int writes = 0;
    while (std::chrono::steady_clock::now() < until) {
        writeRegion(*device, (writes % 4) * 2048, 2048, static_cast<uint8_t>(writes));
        (void)device->playCursor();
        ++writes;
    }
    EXPECT_GT(writes, 10);

    ASSERT_TRUE(device->createBuffer(44100, 4 * 4096));
    EXPECT_FALSE(device->isSilent());
    EXPECT_EQ(device->playCursor(), 0);
    device->playLooping();
    EXPECT_GT(waitForCursorToLeave(*device, 0), 0);
}

TEST(SdlSoundDevice, DiskDriverHearsTheBufferFromItsStartAndWrapping) {
    char path[] = "/tmp/humbrook-sdl-disk-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    useDriver("disk");
    setenv("SDL_DISKAUDIOFILE", path, 1);
    setenv("SDL_DISKAUDIODELAY", "1", 1);
    constexpr int kFrames = 1000;
    {
        auto device = openSdlSoundDevice();
        ASSERT_TRUE(device->createBuffer(22050, 4 * kFrames));
        ASSERT_NE(sdlAudioDeviceId(*device), 0u);
        writeCountingFrames(*device, kFrames);
        device->playLooping();
        const auto deadline = std::chrono::steady_clock::now() + 3s;
        int laps = 0;
        int last = 0;
        while (laps < 3 && std::chrono::steady_clock::now() < deadline) {
            const int cursor = device->playCursor();
            if (cursor < last) ++laps;
            last = cursor;
            std::this_thread::sleep_for(1ms);
        }
        EXPECT_EQ(laps, 3);
        device->stop();
    }
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::remove(path);
    unsetenv("SDL_DISKAUDIOFILE");
    unsetenv("SDL_DISKAUDIODELAY");
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    // Silence until Play, then frame 0 onward, wrapping to frame 0 after frame 999.
    size_t first = 0;
    while (first < samples.size() && samples[first] == 0) ++first;
    ASSERT_LT(first + 2 * 2 * kFrames, samples.size());
    for (int n = 0; n < 2 * kFrames; ++n) {
        const int f = n % kFrames;
        ASSERT_EQ(samples[first + 2 * n], f + 1) << n;
        ASSERT_EQ(samples[first + 2 * n + 1], -f - 1) << n;
    }
}

TEST(SdlSoundDevice, ReopensAfterTheDeviceDisappearsThenFallsBackToTheClock) {
    useDriver("dummy");
    auto device = openSdlSoundDevice();
    ASSERT_TRUE(device->createBuffer(22050, 94500));
    device->playLooping();
    const int before = waitForCursorToLeave(*device, 0);
    ASSERT_GT(before, 0);

    // Unplugged: SDL no longer knows the device.
    SDL_CloseAudioDevice(sdlAudioDeviceId(*device));
    const int after = device->playCursor(); // notices, reopens, keeps its place
    EXPECT_GE(after, before);
    EXPECT_NE(sdlAudioDeviceId(*device), 0u);
    EXPECT_FALSE(device->isSilent());
    EXPECT_GT(waitForCursorToLeave(*device, after), after);

    // No audio device at all: the clocked stand-in carries on, silently, from the same place.
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    const int standIn = device->playCursor();
    EXPECT_TRUE(device->isSilent());
    EXPECT_EQ(sdlAudioDeviceId(*device), 0u);
    EXPECT_NE(waitForCursorToLeave(*device, standIn), standIn);
    writeRegion(*device, 0, 4000, 7);
}

TEST(SdlSoundDevice, WithoutAnyDriverTheClockedStandInPlays) {
    useDriver("no-such-driver");
    auto device = openSdlSoundDevice();
    EXPECT_TRUE(device->isSilent());
    constexpr int kTenSeconds = 4 * 22050 * 10; // no wrap however slow the machine
    ASSERT_TRUE(device->createBuffer(22050, kTenSeconds));
    EXPECT_TRUE(device->isSilent());
    EXPECT_EQ(device->playCursor(), 0);
    device->playLooping();
    std::this_thread::sleep_for(50ms);
    const int cursor = device->playCursor();
    // About 50 ms of 22050 frames of 4 bytes: 4410 bytes.
    EXPECT_GE(cursor, 4000);
    EXPECT_LT(cursor, kTenSeconds);
    device->stop();
    const int stopped = device->playCursor();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(device->playCursor(), stopped);
    writeRegion(*device, 4 * 4725, 4 * 4725, 1);
}

// The sizes the disk driver's file goes through over `duration`, polled every 2 ms.
std::set<uintmax_t> fileSizesOver(const char* path, std::chrono::milliseconds duration) {
    std::set<uintmax_t> sizes;
    const auto until = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < until) {
        std::error_code error;
        const uintmax_t size = std::filesystem::file_size(path, error);
        if (!error && size > 0) sizes.insert(size);
        std::this_thread::sleep_for(2ms);
    }
    return sizes;
}

// How many of `sizes` are no whole number of `bytes`.
int countNotMultiplesOf(const std::set<uintmax_t>& sizes, uintmax_t bytes) {
    int count = 0;
    for (uintmax_t size : sizes)
        if (size % bytes != 0) ++count;
    return count;
}

std::vector<int16_t> readSamples(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}

// The disk driver writes one device buffer per callback, at the real rate: with 2048 frames
// (8192 bytes) the file grows by whole 8192 bytes, with 256 frames (1024 bytes, written in 4 KB
// pieces) it passes sizes between them. The reopened device goes on from the same place of the
// stream buffer, playing, where the first one stopped.
TEST(SdlSoundDevice, ReopensWithAnotherBufferSizeAndPlaysOnFromItsPlace) {
    const std::string folder =
        std::filesystem::temp_directory_path() / "humbrook-sdl-reopen-XXXXXX";
    std::vector<char> name(folder.begin(), folder.end());
    name.push_back('\0');
    ASSERT_NE(mkdtemp(name.data()), nullptr);
    const std::string first = std::string(name.data()) + "/first.raw";
    const std::string second = std::string(name.data()) + "/second.raw";
    useDriver("disk");
    unsetenv("SDL_DISKAUDIODELAY");
    setenv("SDL_DISKAUDIOFILE", first.c_str(), 1);
    constexpr int kFrames = 22050; // one second: no wrap while the test listens
    auto device = openSdlSoundDevice("", 2048);
    ASSERT_TRUE(device->createBuffer(22050, 4 * kFrames));
    writeCountingFrames(*device, kFrames);
    device->playLooping();
    const std::set<uintmax_t> large = fileSizesOver(first.c_str(), 400ms);
    EXPECT_GE(large.size(), 2u);
    EXPECT_LE(countNotMultiplesOf(large, 8192), 1) << "a size caught in the middle of a write";

    setenv("SDL_DISKAUDIOFILE", second.c_str(), 1);
    const int before = device->playCursor();
    ASSERT_TRUE(reopenSdlSoundDevice(*device, "", 256));
    EXPECT_FALSE(device->isSilent());
    const std::set<uintmax_t> small = fileSizesOver(second.c_str(), 300ms);
    EXPECT_GE(countNotMultiplesOf(small, 8192), 2);
    device->stop();
    device.reset();
    unsetenv("SDL_DISKAUDIOFILE");

    const std::vector<int16_t> samples = readSamples(second.c_str());
    std::filesystem::remove_all(name.data());
    ASSERT_GE(samples.size(), 2u * 256);
    // The first frame heard is where the cursor was, or up to one large buffer later (a callback
    // may have run between the cursor read and the close); then each frame follows the last.
    const int start = samples[0] - 1;
    EXPECT_GE(start, before / 4);
    EXPECT_LE(start, before / 4 + 2048);
    for (size_t n = 0; n < samples.size() / 2; ++n) {
        ASSERT_EQ(samples[2 * n], start + static_cast<int>(n) + 1) << n;
        ASSERT_EQ(samples[2 * n + 1], -start - static_cast<int>(n) - 1) << n;
    }
}

// A device that reopens while the clocked stand-in plays takes over its place, its samples and
// its playing state; a device that is not SDL's cannot be reopened.
TEST(SdlSoundDevice, ReopeningLeavesTheClockedStandInWhenADriverComesBack) {
    useDriver("no-such-driver");
    auto device = openSdlSoundDevice();
    ASSERT_TRUE(device->createBuffer(22050, 4 * 22050 * 10));
    writeRegion(*device, 0, 4 * 22050 * 10, 3);
    device->playLooping();
    std::this_thread::sleep_for(30ms);
    EXPECT_FALSE(reopenSdlSoundDevice(*device, "", 1024)) << "still no driver";
    EXPECT_TRUE(device->isSilent());
    const int standIn = device->playCursor();
    EXPECT_GT(standIn, 0);

    useDriver("dummy");
    ASSERT_TRUE(reopenSdlSoundDevice(*device, "no such device", 1024)) << "the default opens";
    EXPECT_FALSE(device->isSilent());
    EXPECT_NE(sdlAudioDeviceId(*device), 0u);
    const int taken = device->playCursor();
    EXPECT_GE(taken, standIn);
    EXPECT_GT(waitForCursorToLeave(*device, taken), taken) << "it plays on";
    uint8_t* region = device->lockRegion(4 * 22050 * 9, 4);
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region[0], 3) << "the samples written while silent are kept";
    device->unlockRegion();

    ClockedSoundDevice clocked;
    EXPECT_FALSE(reopenSdlSoundDevice(clocked, "", 512));
}

TEST(SdlSoundDevice, ListsTheOutputDevicesOfTheDriver) {
    useDriver("dummy");
    const std::vector<std::string> names = sdlOutputDeviceNames();
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names) EXPECT_FALSE(name.empty());
    // The listed default opens by its name.
    auto device = openSdlSoundDevice(names[0], 256);
    EXPECT_FALSE(device->isSilent());
    device.reset(); // SDL audio ends with its last user, and starts again with the next driver
    useDriver("no-such-driver");
    EXPECT_TRUE(sdlOutputDeviceNames().empty());
}

} // namespace
