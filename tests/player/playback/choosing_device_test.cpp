// The device that chooses a media layer per medium, over two fake layers: the first
// layer that can play a file plays it, nothing reaches a layer that does not, and the
// device stays not open when no layer can play the file.
#include "player/playback/mmc/choosing_device.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "tests/support/fake_device.h"

namespace tessel {
namespace {

using test::FakeDevice;

class ChoosingDeviceTest : public testing::Test {
protected:
    ChoosingDeviceTest() {
        auto first = std::make_unique<FakeDevice>();
        auto second = std::make_unique<FakeDevice>();
        foundation_ = first.get();
        mci_ = second.get();
        // Media Foundation reads MP3 and M4A; MCI reads MP3 and MIDI.
        foundation_->lengths = {{L"song.mp3", 3000}, {L"song.m4a", 4000}};
        mci_->lengths = {{L"song.mp3", 3100}, {L"tune.mid", 5000}};
        std::vector<std::unique_ptr<MediaDevice>> layers;
        layers.push_back(std::move(first));
        layers.push_back(std::move(second));
        device_ = std::make_unique<ChoosingDevice>(std::move(layers));
    }

    void Open(const wchar_t* file) {
        device_->SetUpdateInterval(1000);
        device_->SetFileName(file);
        device_->Command(MediaCommand::Open);
    }

    FakeDevice* foundation_;
    FakeDevice* mci_;
    std::unique_ptr<ChoosingDevice> device_;
};

TEST_F(ChoosingDeviceTest, TheFirstLayerThatPlaysAFileIsChosenAtEachOpen) {
    Open(L"song.mp3");  // both could: the first plays it, the second is never asked
    EXPECT_EQ(device_->ChosenLayer(), 0);
    EXPECT_EQ(device_->Length(), 3000);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
    EXPECT_TRUE(mci_->commands.empty());

    Open(L"tune.mid");  // the first refuses: the second plays it
    EXPECT_EQ(device_->ChosenLayer(), 1);
    EXPECT_EQ(device_->Length(), 5000);
    EXPECT_EQ(foundation_->Mode(), MediaDevice::kModeNotOpen) << "the medium before was not closed";
    EXPECT_EQ(mci_->opened, std::vector<std::wstring>{L"tune.mid"});

    Open(L"song.m4a");  // back to the first; the second is closed
    EXPECT_EQ(device_->ChosenLayer(), 0);
    EXPECT_EQ(mci_->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(device_->FileName(), L"song.m4a");

    Open(L"cover.jpg");  // neither: not open, length 0, nothing left open
    EXPECT_EQ(device_->ChosenLayer(), -1);
    EXPECT_EQ(device_->Length(), 0);
    EXPECT_EQ(device_->Position(), 0);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(foundation_->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(mci_->Mode(), MediaDevice::kModeNotOpen);
    for (MediaCommand command : {MediaCommand::Play, MediaCommand::Pause, MediaCommand::Stop}) {
        device_->Command(command);
        EXPECT_EQ(device_->Mode(), MediaDevice::kModeNotOpen);
    }
}

TEST_F(ChoosingDeviceTest, CommandsAStartPointAndTheStatusEventGoThroughTheChosenLayerOnly) {
    // A start point set before the open belongs to the first play after it, and only
    // the layer that plays sees it.
    device_->SetFrom(1500);
    Open(L"tune.mid");
    EXPECT_FALSE(foundation_->FromPending());
    EXPECT_EQ(mci_->UpdateInterval(), 1000u);
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(mci_->Playing(), L"tune.mid");
    EXPECT_EQ(device_->Position(), 1500);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);

    // Used once: the next play goes on from where it is.
    mci_->position = 2500;
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Position(), 2500);
    EXPECT_FALSE(mci_->FromPending());

    device_->Command(MediaCommand::Pause);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePaused);
    device_->Command(MediaCommand::Pause);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModePlaying);
    device_->Command(MediaCommand::Stop);
    EXPECT_EQ(device_->Mode(), MediaDevice::kModeStopped);
    device_->Command(MediaCommand::Close);
    EXPECT_EQ(device_->ChosenLayer(), -1);
    EXPECT_EQ(mci_->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(mci_->commands.back(), MediaCommand::Close);
    // Nothing of this reached the layer that did not play the medium.
    EXPECT_EQ(std::count(foundation_->commands.begin(), foundation_->commands.end(), MediaCommand::Play), 0);

    // A start point given while nothing is open is dropped with the play.
    device_->SetFrom(900);
    device_->Command(MediaCommand::Play);
    Open(L"song.mp3");
    device_->Command(MediaCommand::Play);
    EXPECT_EQ(device_->Position(), 0);

    // So does the status event: a layer that plays nothing does not speak for the device.
    int events = 0;
    device_->SetStatusUpdate([&] { ++events; });
    foundation_->Tick();
    mci_->Tick();
    EXPECT_EQ(events, 1);
    Open(L"tune.mid");
    foundation_->Tick();
    mci_->Tick();
    EXPECT_EQ(events, 2);
    device_->Command(MediaCommand::Close);
    mci_->Tick();
    EXPECT_EQ(events, 2);
}

}  // namespace
}  // namespace tessel
