#include "player/playback/mmc/mf_device.h"

// clang-format off
#include <windows.h>
#include <mfapi.h>
#include <mfidl.h>
#include <mferror.h>
#include <evr.h>
// clang-format on

#include <algorithm>
#include <atomic>
#include <climits>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "win32/com.h"
#include "win32/handle.h"

namespace tessel {
namespace {

using win32::ComRef;

constexpr wchar_t kNotifyClass[] = L"TesselMfDeviceWindow";
// A session event handed to the owner's thread: wParam is the generation in the high
// 16 bits and the event type in the low 16, lParam the event's status.
constexpr UINT kSessionEventMessage = WM_APP + 1;
// How long "open" waits for the platform to resolve a file and for the session to find
// its decoders; a healthy platform answers within a few hundred milliseconds. The
// resolution itself is cancelled a little before the owner stops waiting for it, so
// that what it took is let go on the spot.
constexpr DWORD kResolveWaitMs = 10000;
constexpr DWORD kResolveLimitMs = 8000;
constexpr DWORD kTopologyWaitMs = 5000;
// How long the clock may stand at the end of a playing medium before the run counts as
// ended without the session's report.
constexpr DWORD kUnreportedEndMs = 1500;
// How long "close" waits for a start under way to finish, and for the shutdown. Past
// the second the shutdown goes on by itself and "close" returns: a platform that
// never finishes shutting down a session must not freeze the player.
constexpr DWORD kStartWaitMs = 2000;
constexpr DWORD kTeardownWaitMs = 3000;
// How long a paused session rests before it is shut down (see Session::Parts).
constexpr DWORD kQuietBeforeShutdownMs = 300;
constexpr LONGLONG kHundredNsPerMs = 10000;
constexpr DWORD kVideoStyle = WS_OVERLAPPEDWINDOW;
// The topology attribute MF_TOPOLOGY_ENUMERATE_SOURCE_TYPES, which MinGW's headers
// lack.
constexpr GUID kEnumerateSourceTypes = {0x6248c36d, 0x5d0b, 0x4f40, {0xa0, 0xbb, 0xb0, 0xb3, 0x05, 0xf7, 0x76, 0x98}};

// What every callback of the platform's asynchronous calls has in common: it is
// counted, called on the platform's threads, and answers for IMFAsyncCallback only.
class AsyncCallback : public IMFAsyncCallback {
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IMFAsyncCallback)) {
            *out = static_cast<IMFAsyncCallback*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    STDMETHODIMP_(ULONG) Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }
    STDMETHODIMP GetParameters(DWORD*, DWORD*) override { return E_NOTIMPL; }

protected:
    virtual ~AsyncCallback() = default;

private:
    std::atomic<ULONG> references_{1};
};

// The receiver of the session's events. The session calls it on a platform thread;
// it only posts each event to the owner's window (which may be gone by then: the post
// then fails harmlessly) and asks for the next, until the session is shut down.
class SessionEvents final : public AsyncCallback {
public:
    SessionEvents(IMFMediaSession* session, HWND target, unsigned generation)
        : target_(target), generation_(generation) {
        session->AddRef();
        session_ = ComRef<IMFMediaSession>(session);
    }

    // False when the session would not take the first request.
    bool Listen() {
        std::lock_guard lock(mutex_);
        if (session_ && SUCCEEDED(session_->BeginGetEvent(this, nullptr))) return true;
        FinishLocked();
        return false;
    }

    // Lets go of the session; later calls from the platform do nothing.
    void Detach() {
        std::lock_guard lock(mutex_);
        FinishLocked();
    }

    STDMETHODIMP Invoke(IMFAsyncResult* result) override {
        std::lock_guard lock(mutex_);
        if (!session_) return S_OK;
        ComRef<IMFMediaEvent> event;
        if (FAILED(session_->EndGetEvent(result, event.Put()))) {
            FinishLocked();
            return S_OK;
        }
        MediaEventType type = MEUnknown;
        HRESULT status = S_OK;
        event->GetType(&type);
        event->GetStatus(&status);
        const WPARAM packed = (WPARAM(generation_ & 0xFFFF) << 16) | WPARAM(type & 0xFFFF);
        ::PostMessageW(target_, kSessionEventMessage, packed, LPARAM(status));
        if (type == MESessionClosed || FAILED(session_->BeginGetEvent(this, nullptr))) FinishLocked();
        return S_OK;
    }

private:
    ~SessionEvents() override = default;
    void FinishLocked() { session_.Reset(); }

    std::mutex mutex_;
    ComRef<IMFMediaSession> session_;
    const HWND target_;
    const unsigned generation_;
};

// The answer of an asynchronous resolution of a file into a media source.
class Resolution final : public AsyncCallback {
public:
    explicit Resolution(IMFSourceResolver* resolver) : done_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        resolver->AddRef();
        resolver_ = ComRef<IMFSourceResolver>(resolver);
    }
    HANDLE Done() const { return done_.get(); }
    // The source, once Done() is signalled; null when the file could not be resolved.
    ComRef<IUnknown> Take() {
        std::lock_guard lock(mutex_);
        return std::move(object_);
    }

    STDMETHODIMP Invoke(IMFAsyncResult* result) override {
        std::lock_guard lock(mutex_);
        MF_OBJECT_TYPE type = MF_OBJECT_INVALID;
        if (FAILED(resolver_->EndCreateObjectFromURL(result, &type, object_.Put()))) object_.Reset();
        resolver_.Reset();
        ::SetEvent(done_.get());
        return S_OK;
    }

private:
    ~Resolution() override = default;

    std::mutex mutex_;
    win32::unique_kernel_handle done_;
    ComRef<IMFSourceResolver> resolver_;
    ComRef<IUnknown> object_;
};

// Resolves `path` into a media source. Asynchronously, so that a file the platform
// would parse for minutes can be given up: past `limit_ms` the resolution is cancelled
// and what the platform took for it is let go.
ComRef<IUnknown> ResolveSource(const std::wstring& path, DWORD limit_ms) {
    ComRef<IMFSourceResolver> resolver;
    if (FAILED(::MFCreateSourceResolver(resolver.Put()))) return {};
    ComRef<Resolution> pending(new Resolution(resolver.get()));
    if (!pending->Done()) return {};
    ComRef<IUnknown> cancel;
    if (FAILED(resolver->BeginCreateObjectFromURL(
            path.c_str(), MF_RESOLUTION_MEDIASOURCE | MF_RESOLUTION_CONTENT_DOES_NOT_HAVE_TO_MATCH_EXTENSION_OR_MIME_TYPE,
            nullptr, cancel.Put(), pending.get(), nullptr)))
        return {};
    if (::WaitForSingleObject(pending->Done(), limit_ms) != WAIT_OBJECT_0) {
        if (cancel) resolver->CancelObjectCreation(cancel.get());
        return {};
    }
    return pending->Take();
}

// The jobs of RunInMultithreadedApartment still running, of every device: the platform
// is not shut down under one (a session still shutting down when the platform went
// took the process down with it under Wine).
std::atomic<int> g_jobs_running{0};

DWORD WINAPI RunJob(void* job) {
    std::unique_ptr<std::function<void()>> owned(static_cast<std::function<void()>*>(job));
    const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    try {
        (*owned)();
    } catch (...) {
    }
    owned.reset();
    if (SUCCEEDED(com)) ::CoUninitialize();
    --g_jobs_running;
    return 0;
}

// Runs `work` on a thread of its own in the multithreaded apartment and waits up to
// `timeout_ms` for it; false when it did not finish in time (it then finishes alone,
// so `work` must own everything it touches).
//
// The platform's objects are made and shut down there, never on the owner's thread:
// objects of the platform that are made on a single-threaded apartment (the owner's
// thread usually is one) are called back through that thread's messages, and the
// platform's own threads then wait for a thread that is waiting for them.
bool RunInMultithreadedApartment(std::function<void()> work, DWORD timeout_ms) {
    auto* job = new std::function<void()>(std::move(work));
    ++g_jobs_running;
    win32::unique_kernel_handle thread(::CreateThread(nullptr, 0, &RunJob, job, 0, nullptr));
    if (!thread) {
        RunJob(job);  // no thread to be had: here, then
        return true;
    }
    return WaitAnswering(thread.get(), timeout_ms);
}

}  // namespace

// The picture of a video medium: a top-level window the enhanced video renderer draws
// into, sized to the video at "open". The window lives on a thread of its own: the
// renderer's threads send it messages, also while the session shuts down, and the
// owner's thread may be waiting for that very shutdown.
class MfDevice::VideoWindowImpl {
public:
    VideoWindowImpl(std::wstring title, UINT32 width, UINT32 height)
        : ready_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!ready_) return;
        thread_ = std::thread([this, title = std::move(title), width, height] { Run(title, width, height); });
        ::WaitForSingleObject(ready_.get(), INFINITE);
    }
    ~VideoWindowImpl() {
        if (const HWND window = window_.load()) ::PostMessageW(window, kDestroyMessage, 0, 0);
        if (thread_.joinable()) thread_.join();
    }
    VideoWindowImpl(const VideoWindowImpl&) = delete;
    VideoWindowImpl& operator=(const VideoWindowImpl&) = delete;

    // Null when the window could not be made.
    HWND Handle() const { return window_.load(); }

    // The renderer's display, handed to the window's thread with a reference of its
    // own. Posted, not sent: the window's thread may be busy with the renderer.
    void SetDisplay(IMFVideoDisplayControl* display) {
        const HWND window = window_.load();
        if (window == nullptr || display == nullptr) return;
        display->AddRef();
        if (!::PostMessageW(window, kSetDisplayMessage, 0, LPARAM(display))) display->Release();
    }

    void ShowFirstTime() {
        const HWND window = window_.load();
        if (shown_ || window == nullptr) return;
        shown_ = true;
        ::ShowWindowAsync(window, SW_SHOWNA);
    }

private:
    static constexpr UINT kSetDisplayMessage = WM_APP + 1;
    static constexpr UINT kDestroyMessage = WM_APP + 2;

    class Picture final : public win32::Window {
    public:
        Picture(const std::wstring& title, UINT32 width, UINT32 height) {
            try {
                RegisterWindowClass(kVideoClassMediaFoundation, CS_HREDRAW | CS_VREDRAW,
                                    static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
                RECT outer{0, 0, LONG(std::max<UINT32>(width, 1)), LONG(std::max<UINT32>(height, 1))};
                ::AdjustWindowRectEx(&outer, kVideoStyle, FALSE, 0);
                CreateWindowOf(kVideoClassMediaFoundation, title.c_str(), kVideoStyle, 0, CW_USEDEFAULT,
                               CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top);
                // The frame the system draws may differ from what it computes in
                // advance (a title bar of another height): make the client area the
                // video's size, which "等倍" restores.
                RECT client{}, window{};
                ::GetClientRect(Handle(), &client);
                ::GetWindowRect(Handle(), &window);
                const LONG grow_x = LONG(std::max<UINT32>(width, 1)) - client.right;
                const LONG grow_y = LONG(std::max<UINT32>(height, 1)) - client.bottom;
                if (grow_x != 0 || grow_y != 0) {
                    ::SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + grow_x,
                                   window.bottom - window.top + grow_y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
                }
            } catch (const std::exception&) {
            }
        }
        ~Picture() override {
            ReleaseDisplay();
            if (Handle() != nullptr) ::DestroyWindow(Handle());
        }

    protected:
        LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
            switch (msg) {
            case kSetDisplayMessage: {
                ReleaseDisplay();
                // The reference SetDisplay took is this window's now.
                display_ = ComRef<IMFVideoDisplayControl>(reinterpret_cast<IMFVideoDisplayControl*>(lp));
                if (display_) {
                    Call([](IMFVideoDisplayControl* d, const RECT&) {
                        d->SetAspectRatioMode(MFVideoARMode_PreservePicture);
                        d->SetBorderColor(RGB(0, 0, 0));
                    });
                    FitVideo();
                }
                return 0;
            }
            case kDestroyMessage:
                ReleaseDisplay();
                ::DestroyWindow(Handle());
                return 0;
            case WM_NCDESTROY:
                ::PostQuitMessage(0);
                break;
            case WM_PAINT: {
                PAINTSTRUCT ps;
                if (::BeginPaint(Handle(), &ps) != nullptr) {
                    Call([](IMFVideoDisplayControl* d, const RECT&) { d->RepaintVideo(); });
                    ::EndPaint(Handle(), &ps);
                }
                return 0;
            }
            case WM_SIZE:
                FitVideo();
                break;
            case WM_CLOSE:
                // Closing the picture hides it; the medium plays on, as with the driver's.
                ::ShowWindow(Handle(), SW_HIDE);
                return 0;
            default:
                break;
            }
            return Window::HandleMessage(msg, wp, lp);
        }

    private:
        void FitVideo() {
            Call([](IMFVideoDisplayControl* d, const RECT& client) {
                RECT target = client;
                d->SetVideoPosition(nullptr, &target);
            });
        }

        // The last reference to the renderer may take it down, which waits for its
        // threads, which may be waiting for this window: let it go on a pool thread.
        void ReleaseDisplay() {
            if (!display_) return;
            IMFVideoDisplayControl* display = display_.get();
            display->AddRef();  // this one goes on the pool thread
            display_.Reset();
            const auto run = [](void* context) -> DWORD {
                static_cast<IMFVideoDisplayControl*>(context)->Release();
                return 0;
            };
            if (!::QueueUserWorkItem(run, display, WT_EXECUTEDEFAULT)) display->Release();
        }

        // Calls the renderer from a pool thread, never from this one: the renderer may
        // be waiting for this window's thread to answer a message (it presents into
        // the window), and a call from here would then wait for it in turn.
        void Call(void (*what)(IMFVideoDisplayControl*, const RECT&)) {
            if (!display_ || Handle() == nullptr) return;
            struct Job {
                ComRef<IMFVideoDisplayControl> display;
                RECT client;
                void (*what)(IMFVideoDisplayControl*, const RECT&);
            };
            auto* job = new Job{display_.Share(), RECT{}, what};
            ::GetClientRect(Handle(), &job->client);
            const auto run = [](void* context) -> DWORD {
                std::unique_ptr<Job> owned(static_cast<Job*>(context));
                owned->what(owned->display.get(), owned->client);
                return 0;
            };
            if (!::QueueUserWorkItem(run, job, WT_EXECUTEDEFAULT)) delete job;
        }

        ComRef<IMFVideoDisplayControl> display_;
    };

    void Run(const std::wstring& title, UINT32 width, UINT32 height) {
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        {
            Picture picture(title, width, height);
            window_.store(picture.Handle());
            ::SetEvent(ready_.get());
            MSG msg;
            while (picture.Handle() != nullptr && ::GetMessageW(&msg, nullptr, 0, 0) > 0) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            window_.store(nullptr);
        }
        if (SUCCEEDED(com)) ::CoUninitialize();
    }

    win32::unique_kernel_handle ready_;
    std::atomic<HWND> window_{nullptr};
    std::thread thread_;
    bool shown_ = false;
};

// The Media Foundation objects of one open medium. Going, it hands them to a thread of
// the multithreaded apartment that pauses the session, shuts down the source, then the
// session, which
// shuts down the renderers it made; the video window goes last, so the renderer never
// draws into a window that is gone. The session is not asked to close first: a close
// that the session never confirms (seen with sound and pictures together, at any
// moment of playback) leaves the platform unable to open anything else, while the two
// shutdowns end everything at once.
struct MfDevice::Session {
    struct Parts {
        ComRef<IMFMediaSource> source;
        ComRef<IMFMediaSession> session;
        ComRef<IMFPresentationClock> clock;
        SessionEvents* events = nullptr;  // one reference
        std::unique_ptr<VideoWindowImpl> video;

        Parts() = default;
        Parts(const Parts&) = delete;
        Parts& operator=(const Parts&) = delete;
        ~Parts() {
            if (session) {
                // Paused, and given a moment to settle before the shutdown: shutting
                // down a session whose renderers are still busy crashed inside the
                // platform about once in six quick changes of a video under Wine, and
                // a stop or a close there sometimes never finished; a pause and a
                // short quiet made it hold in every run measured.
                session->Pause();
                ::Sleep(kQuietBeforeShutdownMs);
            }
            if (source) source->Shutdown();
            if (session) session->Shutdown();
            if (events) {
                events->Detach();
                events->Release();
            }
            clock.Reset();
            session.Reset();
            source.Reset();
            video.reset();
        }
    };

    std::unique_ptr<Parts> parts = std::make_unique<Parts>();
    std::int32_t length_ms = 0;
    bool has_audio = false;
    bool has_video = false;

    Session() = default;
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    ~Session() {
        if (parts->video && parts->video->Handle() != nullptr) ::ShowWindowAsync(parts->video->Handle(), SW_HIDE);
        // Moved into the job, not copied: a copy left here would be the last one
        // whenever the job ends in time, and the parts would then be shut down on this
        // thread after all, where the video renderer's shutdown can wait for ever.
        std::shared_ptr<Parts> going(std::move(parts));
        RunInMultithreadedApartment([going = std::move(going)]() mutable { going.reset(); }, kTeardownWaitMs);
    }

    IMFMediaSession* session() const { return parts->session.get(); }

    // Resolves `path` into a media source, connects its first sound and picture
    // streams to the renderers and hands the topology to a new session, which starts
    // to find the decoders. Null when the platform cannot open the file.
    static std::unique_ptr<Session> Build(const std::wstring& path, HWND notify, unsigned generation);
};

namespace {

ComRef<IMFTopologyNode> SourceNode(IMFMediaSource* source, IMFPresentationDescriptor* pd,
                                   IMFStreamDescriptor* sd) {
    ComRef<IMFTopologyNode> node;
    if (FAILED(::MFCreateTopologyNode(MF_TOPOLOGY_SOURCESTREAM_NODE, node.Put())) ||
        FAILED(node->SetUnknown(MF_TOPONODE_SOURCE, source)) ||
        FAILED(node->SetUnknown(MF_TOPONODE_PRESENTATION_DESCRIPTOR, pd)) ||
        FAILED(node->SetUnknown(MF_TOPONODE_STREAM_DESCRIPTOR, sd)))
        node.Reset();
    return node;
}

// The renderer is made by the session when it takes the topology (the enhanced video
// renderer takes only the types its presenter was set up for then).
ComRef<IMFTopologyNode> OutputNode(IMFActivate* renderer) {
    ComRef<IMFTopologyNode> node;
    if (FAILED(::MFCreateTopologyNode(MF_TOPOLOGY_OUTPUT_NODE, node.Put())) || FAILED(node->SetObject(renderer)) ||
        FAILED(node->SetUINT32(MF_TOPONODE_STREAMID, 0)))
        node.Reset();
    return node;
}

}  // namespace

std::unique_ptr<MfDevice::Session> MfDevice::Session::Build(const std::wstring& path, HWND notify,
                                                            unsigned generation) {
    auto media = std::make_unique<Session>();
    Parts& parts = *media->parts;
    parts.source = ResolveSource(path, kResolveLimitMs).As<IMFMediaSource>();
    if (!parts.source) return nullptr;

    ComRef<IMFPresentationDescriptor> pd;
    UINT64 duration = 0;
    DWORD streams = 0;
    if (FAILED(parts.source->CreatePresentationDescriptor(pd.Put())) ||
        FAILED(pd->GetUINT64(MF_PD_DURATION, &duration)) || FAILED(pd->GetStreamDescriptorCount(&streams)))
        return nullptr;
    const LONGLONG length = std::min<LONGLONG>(LONGLONG(duration / kHundredNsPerMs), INT32_MAX);
    if (length <= 0) return nullptr;
    media->length_ms = static_cast<std::int32_t>(length);

    // One sound and one picture stream at most: the first of each that the file
    // selects; every other stream is left out.
    ComRef<IMFTopology> partial;
    if (FAILED(::MFCreateTopology(partial.Put()))) return nullptr;
    for (DWORD i = 0; i < streams; ++i) {
        BOOL selected = FALSE;
        ComRef<IMFStreamDescriptor> sd;
        if (FAILED(pd->GetStreamDescriptorByIndex(i, &selected, sd.Put()))) return nullptr;
        if (!selected) continue;
        ComRef<IMFMediaTypeHandler> handler;
        GUID major = GUID_NULL;
        if (FAILED(sd->GetMediaTypeHandler(handler.Put())) || FAILED(handler->GetMajorType(&major))) major = GUID_NULL;
        const bool audio = major == MFMediaType_Audio && !media->has_audio;
        const bool video = major == MFMediaType_Video && !media->has_video;
        if (!audio && !video) {
            pd->DeselectStream(i);
            continue;
        }
        ComRef<IMFActivate> activate;
        if (audio) {
            if (FAILED(::MFCreateAudioRendererActivate(activate.Put()))) return nullptr;
        } else {
            UINT32 width = 0, height = 0;
            ComRef<IMFMediaType> current;
            if (SUCCEEDED(handler->GetCurrentMediaType(current.Put())))
                ::MFGetAttributeSize(current.get(), MF_MT_FRAME_SIZE, &width, &height);
            if (width == 0 || height == 0) width = 320, height = 240;
            parts.video = std::make_unique<VideoWindowImpl>(path, width, height);
            if (parts.video->Handle() == nullptr ||
                FAILED(::MFCreateVideoRendererActivate(parts.video->Handle(), activate.Put())))
                return nullptr;
        }
        ComRef<IMFTopologyNode> from = SourceNode(parts.source.get(), pd.get(), sd.get());
        ComRef<IMFTopologyNode> to = OutputNode(activate.get());
        if (!from || !to || FAILED(partial->AddNode(from.get())) || FAILED(partial->AddNode(to.get())) ||
            FAILED(from->ConnectOutput(0, to.get(), 0)))
            return nullptr;
        (audio ? media->has_audio : media->has_video) = true;
    }
    if (!media->has_audio && !media->has_video) return nullptr;
    // Every type a stream offers is tried against the decoders, not only its first:
    // a video stream may need one that only a later type reaches.
    partial->SetUINT32(kEnumerateSourceTypes, TRUE);

    if (FAILED(::MFCreateMediaSession(nullptr, parts.session.Put()))) return nullptr;
    parts.events = new SessionEvents(parts.session.get(), notify, generation);
    ComRef<IMFClock> clock;
    if (!parts.events->Listen() || FAILED(parts.session->SetTopology(0, partial.get())) ||
        FAILED(parts.session->GetClock(clock.Put())))
        return nullptr;
    parts.clock = clock.As<IMFPresentationClock>();
    if (!parts.clock) return nullptr;
    return media;
}

MfDevice::MfDevice()
    : notify_window_(kNotifyClass, kSessionEventMessage,
                     [this](UINT msg, WPARAM wp, LPARAM lp) { OnMessage(msg, wp, lp); }),
      platform_started_(SUCCEEDED(::MFStartup(MF_VERSION, MFSTARTUP_FULL))) {}

MfDevice::~MfDevice() {
    Close();
    if (!platform_started_) return;
    // A teardown that outlasted "close" (or a build given up on) still uses the
    // platform: wait a while for it, and leave the platform running if it goes on.
    const DWORD start = ::GetTickCount();
    while (g_jobs_running.load() > 0 && ::GetTickCount() - start < kTeardownWaitMs) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
        MSG msg;
        ::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    if (g_jobs_running.load() == 0) ::MFShutdown();
}

HWND MfDevice::VideoWindow() const {
    return session_ && session_->parts->video ? session_->parts->video->Handle() : nullptr;
}

bool MfDevice::HasVideo() const { return session_ && session_->has_video; }

int MfDevice::Mode() const {
    switch (state_) {
    case State::NotOpen: return kModeNotOpen;
    case State::Playing: return kModePlaying;
    case State::Paused: return kModePaused;
    case State::Stopped:
    case State::Ended: break;
    }
    return kModeStopped;
}

std::int32_t MfDevice::Length() const { return state_ == State::NotOpen ? 0 : length_; }

std::int32_t MfDevice::Position() const {
    if (state_ == State::NotOpen) return 0;
    if (state_ == State::Playing && pending_starts_ == 0) {
        const std::int32_t clock = ClockMs();
        if (clock >= 0) position_ = std::max(position_, clock);
    }
    return position_;
}

std::int32_t MfDevice::ClockMs() const {
    if (!session_) return -1;
    MFTIME time = 0;
    if (FAILED(session_->parts->clock->GetTime(&time))) return -1;
    return static_cast<std::int32_t>(std::clamp<LONGLONG>(time / kHundredNsPerMs, 0, length_));
}

void MfDevice::Open() {
    Close();
    if (FileName().empty() || !platform_started_ || notify_window_.Handle() == nullptr) return;

    ++generation_;
    auto built = std::make_shared<std::unique_ptr<Session>>();
    const HWND notify = notify_window_.Handle();
    const unsigned generation = generation_;
    if (!RunInMultithreadedApartment(
            [built, path = FileName(), notify, generation] { *built = Session::Build(path, notify, generation); },
            kResolveWaitMs))
        return;  // the platform hangs on this file; whatever it builds goes with the thread
    std::unique_ptr<Session> media = std::move(*built);
    if (!media) return;
    // The session finds the decoders; waiting for its answer finds a missing one
    // while "open" can still say so, and the caller then tries another layer.
    if (!WaitForTopology()) return;
    if (media->parts->video) {
        ComRef<IMFVideoDisplayControl> display;
        if (SUCCEEDED(::MFGetService(media->session(), MR_VIDEO_RENDER_SERVICE, __uuidof(IMFVideoDisplayControl),
                                     display.PutVoid())))
            media->parts->video->SetDisplay(display.get());
    }

    session_ = std::move(media);
    length_ = session_->length_ms;
    position_ = 0;
    pending_starts_ = 0;
    state_ = State::Stopped;
    notify_window_.StartTimer(UpdateInterval());
}

bool MfDevice::WaitForTopology() {
    bool playable = false;
    WaitForSessionEvent(
        [&](unsigned type, HRESULT status) {
            if (type == MESessionTopologySet) playable = SUCCEEDED(status);
            return type == MESessionTopologySet || type == MEError;
        },
        kTopologyWaitMs);
    return playable;
}

bool MfDevice::WaitForSessionEvent(const std::function<bool(unsigned type, HRESULT status)>& done,
                                   DWORD timeout_ms) {
    const HWND window = notify_window_.Handle();
    if (window == nullptr) return false;
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        // Only the session's own messages: nothing else of the owner runs meanwhile.
        while (::PeekMessageW(&msg, window, kSessionEventMessage, kSessionEventMessage, PM_REMOVE)) {
            if (((msg.wParam >> 16) & 0xFFFF) != (generation_ & 0xFFFF)) continue;
            const auto type = static_cast<unsigned>(msg.wParam & 0xFFFF);
            const auto status = static_cast<HRESULT>(msg.lParam);
            OnSessionEvent(type, status);
            if (done(type, status)) return true;
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeout_ms) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeout_ms - elapsed, QS_POSTMESSAGE | QS_SENDMESSAGE);
    }
}

void MfDevice::Play() {
    if (state_ == State::NotOpen) {
        std::int32_t unused = 0;
        TakeFrom(unused);
        return;
    }
    std::int32_t start = Position();
    const bool from_given = TakeFrom(start);
    start = std::clamp<std::int32_t>(start, 0, length_);
    if (start >= length_) {
        // Nothing left to play from there: the run is over at once.
        if (state_ == State::Playing || state_ == State::Paused) session_->session()->Stop();
        MarkEnded();
        return;
    }
    if (state_ == State::Playing && !from_given) return;  // plays on from where it is
    const bool started = state_ == State::Paused && !from_given ? Resume() : StartAt(start);
    if (!started) {
        if (state_ == State::Playing || state_ == State::Paused) state_ = State::Stopped;
        return;
    }
    if (session_->parts->video) session_->parts->video->ShowFirstTime();
}

bool MfDevice::Resume() {
    PROPVARIANT here;
    ::PropVariantInit(&here);  // empty: on from the paused position, without a seek
    if (FAILED(session_->session()->Start(&GUID_NULL, &here))) return false;
    ++pending_starts_;
    state_ = State::Playing;
    return true;
}

bool MfDevice::StartAt(std::int32_t start) {
    PROPVARIANT at;
    ::PropVariantInit(&at);
    at.vt = VT_I8;
    at.hVal.QuadPart = LONGLONG(start) * kHundredNsPerMs;
    // A start point is taken from a stopped session only (some versions of the
    // platform ignore the point of a start while it plays or is paused): stop first.
    if (state_ == State::Playing || state_ == State::Paused) session_->session()->Stop();
    if (FAILED(session_->session()->Start(&GUID_NULL, &at))) return false;
    ++pending_starts_;
    position_ = start;
    state_ = State::Playing;
    return true;
}

void MfDevice::Pause() {
    if (state_ == State::Playing) {
        position_ = Position();
        if (SUCCEEDED(session_->session()->Pause())) state_ = State::Paused;
    } else if (state_ == State::Paused && !Resume()) {
        state_ = State::Stopped;
    }
}

void MfDevice::Stop() {
    if (state_ == State::Playing || state_ == State::Paused) {
        position_ = Position();
        session_->session()->Stop();
        state_ = State::Stopped;
    }
}

void MfDevice::Close() {
    notify_window_.StopTimer();
    if (session_ && pending_starts_ > 0) {
        // A session shut down while its start is still under way can take the
        // platform down with it (seen with video): let the start finish first.
        WaitForSessionEvent([&](unsigned, HRESULT) { return pending_starts_ == 0; }, kStartWaitMs);
    }
    session_.reset();
    state_ = State::NotOpen;
    length_ = 0;
    position_ = 0;
    pending_starts_ = 0;
}

void MfDevice::MarkEnded() {
    at_end_since_ = 0;
    state_ = State::Ended;
    position_ = length_;
}

void MfDevice::OnSessionEvent(unsigned type, HRESULT status) {
    switch (type) {
    case MESessionStarted:
        if (pending_starts_ > 0) --pending_starts_;
        if (FAILED(status) && state_ == State::Playing && pending_starts_ == 0) MarkEnded();
        break;
    case MESessionEnded:
        // An end that the latest start has not yet replaced is the end of the run.
        if (state_ == State::Playing && pending_starts_ == 0) MarkEnded();
        break;
    case MEError:
        // The medium broke while playing (a decoder error, a vanished file): it is
        // over, and the caller moves on as at any end.
        if (state_ != State::NotOpen) MarkEnded();
        pending_starts_ = 0;
        break;
    default:
        break;
    }
}

void MfDevice::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kSessionEventMessage) {
        // Events of a session closed since are stale.
        if (session_ && ((wp >> 16) & 0xFFFF) == (generation_ & 0xFFFF)) {
            OnSessionEvent(static_cast<unsigned>(wp & 0xFFFF), static_cast<HRESULT>(lp));
        }
        return;
    }
    // The status timer.
    if (state_ == State::NotOpen) {
        notify_window_.StopTimer();
        return;
    }
    // Under load Wine's session has let a run end (its clock at the end) without
    // reporting it, once after a pause and a resume: the medium would then play for
    // ever. A clock that stays at the end longer than the report can take ends the run.
    if (state_ == State::Playing && pending_starts_ == 0 && ClockMs() >= length_) {
        const DWORD now = ::GetTickCount();
        if (at_end_since_ == 0) {
            at_end_since_ = now | 1;
        } else if (now - at_end_since_ >= kUnreportedEndMs) {
            MarkEnded();
        }
    } else {
        at_end_since_ = 0;
    }
    RaiseStatusUpdate();
}

}  // namespace tessel
