#include "player/playback/volume_device_win32.h"

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <objbase.h>
#include <mmdeviceapi.h>
#include <audioclient.h>
#include <audiopolicy.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <memory>
#include <utility>

#include "win32/com.h"

namespace tessel::player {

namespace {

using win32::ComApartment;
using win32::ComRef;

class SessionVolume final : public VolumeDevice {
public:
    // Both channels where the platform has them, else the master alone.
    bool Open() {
        if (!com_.usable()) return false;
        ComRef<IMMDeviceEnumerator> enumerator;
        if (FAILED(::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                      __uuidof(IMMDeviceEnumerator), enumerator.PutVoid())))
            return false;
        ComRef<IMMDevice> device;
        if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eMultimedia, device.Put()))) return false;
        // A stream of the process's default session (no session id), initialised but never
        // started, reaches the session every stream of the player joins: its master
        // volume and its per-channel volumes. Wine shares the session only through such
        // streams; an ISimpleAudioVolume from the session manager there is detached.
        OpenStream(device.get());
        if (!master_) {
            ComRef<IAudioSessionManager> sessions;
            if (FAILED(device->Activate(__uuidof(IAudioSessionManager), CLSCTX_ALL, nullptr, sessions.PutVoid())))
                return false;
            if (FAILED(sessions->GetSimpleAudioVolume(nullptr, FALSE, master_.Put()))) return false;
        }
        return true;
    }

    bool HasChannels() const { return static_cast<bool>(channels_); }

    std::optional<std::uint32_t> Read() override {
        float master = 0;
        if (FAILED(master_->GetMasterVolume(&master))) return std::nullopt;
        ChannelScalars scalars{master, master};
        if (channels_) {
            float left = 0, right = 0;
            if (FAILED(channels_->GetChannelVolume(0, &left)) || FAILED(channels_->GetChannelVolume(1, &right)))
                return std::nullopt;
            scalars = {master * left, master * right};
        }
        return ScalarsToVolume(scalars);
    }

    bool Write(std::uint32_t volume) override {
        const ChannelScalars wanted = VolumeToScalars(volume);
        // The louder channel is the master (what the mixer's slider shows); the channel
        // volumes scale the other one down. Equal channels leave the channels at full,
        // so the master alone carries the level and reads back exactly.
        const float loudest = std::max(wanted.left, wanted.right);
        if (channels_) {
            const float left = loudest > 0 ? wanted.left / loudest : 1.0f;
            const float right = loudest > 0 ? wanted.right / loudest : 1.0f;
            if (FAILED(channels_->SetChannelVolume(0, std::min(left, 1.0f), nullptr)) ||
                FAILED(channels_->SetChannelVolume(1, std::min(right, 1.0f), nullptr)))
                return false;
        }
        return SUCCEEDED(master_->SetMasterVolume(loudest, nullptr));
    }

private:
    void OpenStream(IMMDevice* device) {
        if (FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr, client_.PutVoid()))) return;
        WAVEFORMATEX* format = nullptr;
        if (FAILED(client_->GetMixFormat(&format))) {
            client_.Reset();
            return;
        }
        const WORD channelCount = format->nChannels;
        const HRESULT hr = client_->Initialize(AUDCLNT_SHAREMODE_SHARED, 0, 1000000, 0, format, nullptr);
        ::CoTaskMemFree(format);
        ComRef<ISimpleAudioVolume> master;
        ComRef<IChannelAudioVolume> channels;
        UINT32 count = 0;
        if (FAILED(hr) || channelCount < 2 ||
            FAILED(client_->GetService(__uuidof(ISimpleAudioVolume), master.PutVoid())) ||
            FAILED(client_->GetService(__uuidof(IChannelAudioVolume), channels.PutVoid())) ||
            FAILED(channels->GetChannelCount(&count)) || count < 2) {
            client_.Reset();
            return;
        }
        master_ = std::move(master);
        channels_ = std::move(channels);
    }

    ComApartment com_;  // first in, last out: the references below go before it
    ComRef<ISimpleAudioVolume> master_;
    ComRef<IAudioClient> client_;
    ComRef<IChannelAudioVolume> channels_;
};

HWAVEOUT WaveMapper() { return reinterpret_cast<HWAVEOUT>(static_cast<UINT_PTR>(WAVE_MAPPER)); }

class WaveMapperVolume final : public VolumeDevice {
public:
    std::optional<std::uint32_t> Read() override {
        DWORD volume = 0;
        if (::waveOutGetVolume(WaveMapper(), &volume) != MMSYSERR_NOERROR) return std::nullopt;
        return std::uint32_t(volume);
    }
    bool Write(std::uint32_t volume) override {
        return ::waveOutSetVolume(WaveMapper(), DWORD(volume)) == MMSYSERR_NOERROR;
    }
};

// No device: the bar keeps its place and nothing is reported.
class NoVolume final : public VolumeDevice {
public:
    std::optional<std::uint32_t> Read() override { return std::nullopt; }
    bool Write(std::uint32_t) override { return false; }
};

// Counts the changes of the default output device, which the system reports on a thread
// of its own; the count is all the user-interface thread reads.
class DefaultOutputWatch final : public IMMNotificationClient {
public:
    // Registers with the system; false when the platform gives no notifications.
    bool Start() {
        if (!com_.usable()) return false;
        if (FAILED(::CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL, __uuidof(IMMDeviceEnumerator),
                                      enumerator_.PutVoid())))
            return false;
        registered_ = SUCCEEDED(enumerator_->RegisterEndpointNotificationCallback(this));
        return registered_;
    }
    // Unregisters before the object goes: no report can arrive after this.
    ~DefaultOutputWatch() {
        if (registered_) enumerator_->UnregisterEndpointNotificationCallback(this);
    }

    std::uint64_t Changes() const { return changes_.load(); }

    HRESULT STDMETHODCALLTYPE OnDefaultDeviceChanged(EDataFlow flow, ERole, LPCWSTR) override {
        if (flow == eRender) ++changes_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDeviceStateChanged(LPCWSTR, DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceAdded(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDeviceRemoved(LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnPropertyValueChanged(LPCWSTR, const PROPERTYKEY) override { return S_OK; }

    // Owned by its holder alone (the system's references end with the unregistering).
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (id == __uuidof(IUnknown) || id == __uuidof(IMMNotificationClient)) {
            *object = static_cast<IMMNotificationClient*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

private:
    ComApartment com_;
    ComRef<IMMDeviceEnumerator> enumerator_;
    bool registered_ = false;
    std::atomic<std::uint64_t> changes_{0};
};

// The session volume of the default device as it is now; null when it does not work
// here.
std::unique_ptr<VolumeDevice> OpenDefaultSessionVolume() {
    auto device = std::make_unique<SessionVolume>();
    if (!device->Open()) return nullptr;
    return device;
}

// The wave mapper's volume; null when it does not work here.
std::unique_ptr<VolumeDevice> OpenWaveMapperVolume() {
    auto device = std::make_unique<WaveMapperVolume>();
    if (!device->Read()) return nullptr;
    return device;
}

}  // namespace

SystemVolume OpenSystemVolume() {
    auto session = std::make_unique<SessionVolume>();
    if (session->Open()) {
        const VolumeBackend backend = session->HasChannels() ? VolumeBackend::SessionChannels
                                                             : VolumeBackend::SessionMaster;
        // The session belongs to one device; the bar follows the default device instead.
        auto watch = std::make_shared<DefaultOutputWatch>();
        if (!watch->Start()) return {std::move(session), backend};
        session.reset();
        return {std::make_unique<DefaultDeviceVolume>([watch] { return watch->Changes(); }, OpenDefaultSessionVolume),
                backend};
    }
    session.reset();
    if (auto wave = OpenWaveMapperVolume()) return {std::move(wave), VolumeBackend::WaveMapper};
    return {std::make_unique<NoVolume>(), VolumeBackend::None};
}

}  // namespace tessel::player
