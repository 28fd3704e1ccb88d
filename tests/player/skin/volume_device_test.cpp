// The device volume through the platform's real interfaces: every level the bar can
// write reads back as itself, and a change made outside the player is seen.
#include <windows.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <audiopolicy.h>

#include <gtest/gtest.h>

#include <cmath>

#include "player/skin/volume_device_win32.h"

namespace tessel::player {
namespace {

// The process's session volume reached as another part of the process (a second
// stream of the same session, as the media driver's stream is) reaches it.
class OutsideMixer {
public:
    OutsideMixer() {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        IMMDeviceEnumerator* enumerator = nullptr;
        IMMDevice* device = nullptr;
        WAVEFORMATEX* format = nullptr;
        if (SUCCEEDED(::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                         __uuidof(IMMDeviceEnumerator), reinterpret_cast<void**>(&enumerator))) &&
            SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, &device)) &&
            SUCCEEDED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                       reinterpret_cast<void**>(&client_))) &&
            SUCCEEDED(client_->GetMixFormat(&format)) &&
            SUCCEEDED(client_->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, 1000000, 0, format, nullptr)))
            client_->GetService(__uuidof(ISimpleAudioVolume), reinterpret_cast<void**>(&volume_));
        ::CoTaskMemFree(format);
        if (device) device->Release();
        if (enumerator) enumerator->Release();
    }
    ~OutsideMixer() {
        if (volume_) volume_->Release();
        if (client_) client_->Release();
        ::CoUninitialize();
    }
    ISimpleAudioVolume* get() const { return volume_; }

private:
    IAudioClient* client_ = nullptr;
    ISimpleAudioVolume* volume_ = nullptr;
};

void ExpectEveryLevelRoundTrips(VolumeDevice& device) {
    int wrong = 0;
    for (int level = 1; level <= 255; ++level) {
        ASSERT_TRUE(WriteVolumeLevel(device, level)) << level;
        const auto value = device.Read();
        ASSERT_TRUE(value) << level;
        if (*value != LevelToVolume(level) || ReadVolumeLevel(device) != level) {
            ADD_FAILURE() << "level " << level << " read back as 0x" << std::hex << *value;
            if (++wrong > 5) return;
        }
    }
    ASSERT_TRUE(WriteVolumeLevel(device, 0));
    EXPECT_EQ(device.Read(), 0u);
    EXPECT_EQ(ReadVolumeLevel(device), std::nullopt);
}

TEST(SessionVolume, EveryLevelRoundTripsWithAndWithoutChannels) {
    for (bool channels : {false, true}) {
        SCOPED_TRACE(channels ? "master and channels" : "master only");
        auto device = OpenSessionVolume(channels);
        ASSERT_TRUE(device) << "the session volume must be reachable";
        ExpectEveryLevelRoundTrips(*device);
    }
}

TEST(SessionVolume, ChannelsKeepLeftAndRightApart) {
    auto device = OpenSessionVolume(true);
    ASSERT_TRUE(device);
    for (std::uint32_t value : {0x0000FFFFu, 0xFFFF0000u, 0x40008000u, 0x12345678u}) {
        ASSERT_TRUE(device->Write(value));
        EXPECT_EQ(device->Read(), value) << std::hex << value;
    }
}

TEST(SessionVolume, ChangeMadeOutsideIsReadBack) {
    auto device = OpenSessionVolume(true);
    ASSERT_TRUE(device);
    ASSERT_TRUE(WriteVolumeLevel(*device, 200));
    OutsideMixer mixer;
    ASSERT_NE(mixer.get(), nullptr);
    float master = 0;
    ASSERT_TRUE(SUCCEEDED(mixer.get()->GetMasterVolume(&master)));
    if (std::abs(master - 200.0 / 255.0) > 1e-6) {
        // Wine 8 makes a new session for every stream of the default session, so no
        // other object of the process sees the player's volume; Windows shares it.
        ASSERT_NE(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version"), nullptr)
            << "the player's level must be what the mixer shows";
        GTEST_SKIP() << "this platform does not share the default audio session between streams";
    }
    ASSERT_TRUE(SUCCEEDED(mixer.get()->SetMasterVolume(float(0x3030) / 65535.0f, nullptr)));
    EXPECT_EQ(device->Read(), 0x30303030u);
    EXPECT_EQ(ReadVolumeLevel(*device), 0x30);
    ASSERT_TRUE(SUCCEEDED(mixer.get()->SetMasterVolume(0.0f, nullptr)));
    EXPECT_EQ(ReadVolumeLevel(*device), std::nullopt) << "a muted session leaves the bar where it is";
}

TEST(SystemVolume, PicksAWorkingBackend) {
    SystemVolume system = OpenSystemVolume();
    ASSERT_NE(system.device, nullptr);
    EXPECT_NE(system.backend, VolumeBackend::None) << "an audio device is configured for the tests";
    ExpectEveryLevelRoundTrips(*system.device);
    // The wave mapper works on Windows and not under Wine; where it works it must hold
    // the levels too.
    if (auto wave = OpenWaveMapperVolume()) ExpectEveryLevelRoundTrips(*wave);
}

}  // namespace
}  // namespace tessel::player
