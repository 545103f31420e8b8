// The sound output choice: the offered list, the remembered output with its fallback, the
// dialog's positions and what is remembered.
#include "app/sound_output.h"

#include <gtest/gtest.h>

namespace {

const std::vector<std::string> kReported = {"USB Audio", "HDMI Output"};

TEST(SoundOutput, TheListStartsWithTheSystemDefaultAndSkipsNamelessDevices) {
    EXPECT_EQ(soundDeviceList({}), std::vector<std::string>{"System Default"});
    EXPECT_EQ(soundDeviceList({"USB Audio", "", "HDMI Output"}),
              (std::vector<std::string>{"System Default", "USB Audio", "HDMI Output"}));
}

TEST(SoundOutput, TheRememberedDeviceOpensWhenItIsReported) {
    Settings settings;
    settings.soundDevice = "HDMI Output";
    settings.bufferFrames = 2048;
    std::string message = "left over";
    const SoundOutput output = startingSoundOutput(settings, kReported, message);
    EXPECT_EQ(output.device, "HDMI Output");
    EXPECT_EQ(output.bufferFrames, 2048);
    EXPECT_EQ(message, "");

    settings.soundDevice.clear(); // nothing remembered: the default, quietly
    EXPECT_EQ(startingSoundOutput(settings, {}, message), (SoundOutput{"", 2048}));
    EXPECT_EQ(message, "");
}

TEST(SoundOutput, AMissingDeviceFallsBackToTheDefaultWithOneMessageNamingIt) {
    Settings settings;
    settings.soundDevice = "Headphones";
    settings.bufferFrames = 256;
    std::string message;
    const SoundOutput output = startingSoundOutput(settings, kReported, message);
    EXPECT_EQ(output, (SoundOutput{"", 256})) << "the buffer size is kept";
    EXPECT_EQ(message.rfind("Sound Device Not Found\n", 0), 0u) << message;
    EXPECT_NE(message.find("\"Headphones\""), std::string::npos) << message;
    // A name that only differs in case is another device.
    settings.soundDevice = "usb audio";
    startingSoundOutput(settings, kReported, message);
    EXPECT_NE(message, "");
}

TEST(SoundOutput, DialogPositionsMapToDevicesAndBufferSizesAndBack) {
    EXPECT_EQ(soundDeviceIndex({"", 512}, kReported), 0);
    EXPECT_EQ(soundDeviceIndex({"HDMI Output", 512}, kReported), 2);
    EXPECT_EQ(soundDeviceIndex({"Gone", 512}, kReported), 0) << "an unlisted device shows none";
    for (int index = 0; index < 3; ++index)
        EXPECT_EQ(soundDeviceIndex({soundDeviceAt(index, kReported), 512}, kReported), index);
    EXPECT_EQ(soundDeviceAt(0, kReported), "") << "System Default is no device name";
    EXPECT_EQ(soundDeviceAt(3, kReported), "");
    EXPECT_EQ(soundDeviceAt(-1, kReported), "");

    for (int index = 0; index < 4; ++index)
        EXPECT_EQ(bufferFramesIndex(bufferFramesAt(index)), index);
    EXPECT_EQ(bufferFramesAt(0), 256);
    EXPECT_EQ(bufferFramesAt(3), 2048);
    EXPECT_EQ(bufferFramesAt(4), 512);
    EXPECT_EQ(bufferFramesAt(-1), 512);
    EXPECT_EQ(bufferFramesIndex(1000), 1) << "the default's position";
}

TEST(SoundOutput, RememberingSaysWhetherTheSettingsChanged) {
    Settings settings;
    settings.recentSongs = {"/songs/a.zwv"};
    EXPECT_FALSE(rememberSoundOutput(settings, {"", 512}));
    EXPECT_TRUE(rememberSoundOutput(settings, {"USB Audio", 1024}));
    EXPECT_EQ(settings.soundDevice, "USB Audio");
    EXPECT_EQ(settings.bufferFrames, 1024);
    EXPECT_FALSE(rememberSoundOutput(settings, {"USB Audio", 1024}));
    EXPECT_TRUE(rememberSoundOutput(settings, {"", 1024})) << "back to the default";
    EXPECT_EQ(settings.soundDevice, "");
    EXPECT_EQ(settings.recentSongs, std::vector<std::string>{"/songs/a.zwv"});
    // What is remembered comes back from the file's text.
    std::vector<std::string> problems;
    EXPECT_EQ(parseSettings(formatSettings(settings), problems), settings);
    EXPECT_TRUE(problems.empty());
}

} // namespace
