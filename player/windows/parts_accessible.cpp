#include "player/windows/parts_accessible.h"

#include <atomic>

#include "player/shared/texts.h"

namespace tessel::player {
namespace {

constexpr LONG kChildCount = static_cast<LONG>(kBodyPartCount);

// The part a child id names; none for the window itself or an id out of range.
enum class Target { Self, Part, Invalid };
Target TargetOf(const VARIANT& child, BodyPart& part) {
    if (child.vt != VT_I4) return Target::Invalid;
    if (child.lVal == CHILDID_SELF) return Target::Self;
    if (child.lVal < 1 || child.lVal > kChildCount) return Target::Invalid;
    part = static_cast<BodyPart>(child.lVal - 1);
    return Target::Part;
}

HRESULT Text(const wchar_t* text, BSTR* out) {
    *out = ::SysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
}

LONG RoleOf(PartRole role) {
    switch (role) {
        case PartRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
        case PartRole::Slider: return ROLE_SYSTEM_SLIDER;
        case PartRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
    }
    return ROLE_SYSTEM_CLIENT;
}

void SetChild(VARIANT* out, LONG id) {
    out->vt = VT_I4;
    out->lVal = id;
}

}  // namespace

// The client area's object: the parts as simple children with ids, everything about
// the window itself from the system's standard object.
class PartsAccessibleObject final : public IAccessible {
public:
    PartsAccessibleObject(HWND window, BodyPartsSource& source, win32::ComRef<IAccessible> standard)
        : window_(window), source_(&source), standard_(std::move(standard)) {}

    void Disconnect() {
        source_ = nullptr;
        standard_.Reset();
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete this;
        return left;
    }

    // IDispatch: no type information; clients call IAccessible directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (!Connected()) return RPC_E_DISCONNECTED;
        return standard_->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count) return E_POINTER;
        if (!Connected()) return RPC_E_DISCONNECTED;
        *count = kChildCount;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (!Connected()) return RPC_E_DISCONNECTED;
        BodyPart part{};
        // The parts are simple elements: the parent answers for them.
        return TargetOf(child, part) == Target::Part ? S_FALSE : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return ForPart(child, name, [&](BodyPart part) { return Text(DesignOf(part).name, name); },
                       [&] { return standard_->get_accName(child, name); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return ForPart(
            child, value,
            [&](BodyPart part) {
                const std::optional<std::wstring> text = source_->PartValueText(part);
                return text ? Text(text->c_str(), value) : DISP_E_MEMBERNOTFOUND;
            },
            [&] { return standard_->get_accValue(child, value); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return ForPart(child, out, [](BodyPart) { return S_FALSE; },
                       [&] { return standard_->get_accDescription(child, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return ForPart(child, role,
                       [&](BodyPart part) {
                           SetChild(role, RoleOf(DesignOf(part).role));
                           return S_OK;
                       },
                       [&] { return standard_->get_accRole(child, role); });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return ForPart(child, state,
                       [&](BodyPart part) {
                           LONG flags = 0;
                           if (!source_->PartsVisible()) flags |= STATE_SYSTEM_INVISIBLE;
                           switch (DesignOf(part).role) {
                               case PartRole::Slider:
                                   // The bars are real controls that take the focus.
                                   flags |= STATE_SYSTEM_FOCUSABLE;
                                   if (source_->PartFocused(part)) flags |= STATE_SYSTEM_FOCUSED;
                                   break;
                               case PartRole::StaticText: flags |= STATE_SYSTEM_READONLY; break;
                               case PartRole::PushButton: break;
                           }
                           SetChild(state, flags);
                           return S_OK;
                       },
                       [&] { return standard_->get_accState(child, state); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return ForPart(child, help, [](BodyPart) { return S_FALSE; },
                       [&] { return standard_->get_accHelp(child, help); });
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        if (!file || !topic) return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return ForTarget(child, [](BodyPart) { return S_FALSE; },
                         [&] { return standard_->get_accHelpTopic(file, child, topic); });
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return ForPart(child, keys, [](BodyPart) { return S_FALSE; },
                       [&] { return standard_->get_accKeyboardShortcut(child, keys); });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (!focus) return E_POINTER;
        ::VariantInit(focus);
        if (!Connected()) return RPC_E_DISCONNECTED;
        for (const BodyPartDesign& d : BodyParts()) {
            if (source_->PartFocused(d.part)) {
                SetChild(focus, ChildIdOf(d.part));
                return S_OK;
            }
        }
        return standard_->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (!selection) return E_POINTER;
        ::VariantInit(selection);
        if (!Connected()) return RPC_E_DISCONNECTED;
        return standard_->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return ForPart(
            child, action,
            [&](BodyPart part) {
                return DesignOf(part).role == PartRole::PushButton ? Text(window_texts::kActionPress, action)
                                                                   : DISP_E_MEMBERNOTFOUND;
            },
            [&] { return standard_->get_accDefaultAction(child, action); });
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return ForTarget(child, [](BodyPart) { return DISP_E_MEMBERNOTFOUND; },
                         [&] { return standard_->accSelect(flags, child); });
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (!left || !top || !width || !height) return E_POINTER;
        *left = *top = *width = *height = 0;
        return ForTarget(child,
                         [&](BodyPart part) {
                             const ScreenRect r = source_->PartOnScreen(part);
                             *left = r.left;
                             *top = r.top;
                             *width = r.right - r.left;
                             *height = r.bottom - r.top;
                             return S_OK;
                         },
                         [&] { return standard_->accLocation(left, top, width, height, child); });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (!end) return E_POINTER;
        ::VariantInit(end);
        if (!Connected()) return RPC_E_DISCONNECTED;
        BodyPart part{};
        const Target target = TargetOf(start, part);
        if (target == Target::Invalid) return E_INVALIDARG;
        LONG next = 0;
        if (target == Target::Self) {
            if (direction == NAVDIR_FIRSTCHILD) next = 1;
            else if (direction == NAVDIR_LASTCHILD) next = kChildCount;
            else return standard_->accNavigate(direction, start, end);
        } else {
            // Siblings in reading order.
            if (direction == NAVDIR_NEXT) next = ChildIdOf(part) + 1;
            else if (direction == NAVDIR_PREVIOUS) next = ChildIdOf(part) - 1;
            else return DISP_E_MEMBERNOTFOUND;
            if (next < 1 || next > kChildCount) return S_FALSE;
        }
        SetChild(end, next);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (!hit) return E_POINTER;
        ::VariantInit(hit);
        if (!Connected()) return RPC_E_DISCONNECTED;
        for (const BodyPartDesign& d : BodyParts()) {
            const ScreenRect r = source_->PartOnScreen(d.part);
            if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
                SetChild(hit, ChildIdOf(d.part));
                return S_OK;
            }
        }
        return standard_->accHitTest(x, y, hit);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return ForTarget(child,
                         [&](BodyPart part) {
                             if (DesignOf(part).role != PartRole::PushButton) return DISP_E_MEMBERNOTFOUND;
                             source_->PostPartClick(part);
                             return S_OK;
                         },
                         [&] { return standard_->accDoDefaultAction(child); });
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~PartsAccessibleObject() = default;

    // A screen reader may keep the object after the window went.
    bool Connected() const { return source_ && standard_ && ::IsWindow(window_); }

    template <typename OnPart, typename OnSelf>
    HRESULT ForTarget(const VARIANT& child, OnPart onPart, OnSelf onSelf) {
        if (!Connected()) return RPC_E_DISCONNECTED;
        BodyPart part{};
        switch (TargetOf(child, part)) {
            case Target::Self: return onSelf();
            case Target::Part: return onPart(part);
            case Target::Invalid: break;
        }
        return E_INVALIDARG;
    }
    // For the text properties: the out-parameter null unless a text is given.
    template <typename OnPart, typename OnSelf>
    HRESULT ForPart(const VARIANT& child, BSTR* out, OnPart onPart, OnSelf onSelf) {
        if (!out) return E_POINTER;
        *out = nullptr;
        return ForTarget(child, onPart, onSelf);
    }
    // For the properties given as a VARIANT: empty unless one is given.
    template <typename OnPart, typename OnSelf>
    HRESULT ForPart(const VARIANT& child, VARIANT* out, OnPart onPart, OnSelf onSelf) {
        if (!out) return E_POINTER;
        ::VariantInit(out);
        return ForTarget(child, onPart, onSelf);
    }

    std::atomic<ULONG> refs_{1};
    HWND window_;
    BodyPartsSource* source_;
    win32::ComRef<IAccessible> standard_;
};

PartsAccessible::~PartsAccessible() {
    if (!object_) return;
    object_->Disconnect();
    object_->Release();
}

std::optional<LRESULT> PartsAccessible::Answer(HWND window, WPARAM wParam, LPARAM lParam) {
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) != OBJID_CLIENT) return std::nullopt;
    // Marshalling the object needs COM on this thread; a thread already in another
    // apartment serves as it is.
    if (!com_) com_.emplace();
    if (!com_->usable()) return std::nullopt;
    if (!object_) {
        win32::ComRef<IAccessible> standard;
        if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, __uuidof(IAccessible), standard.PutVoid())))
            return std::nullopt;
        object_ = new PartsAccessibleObject(window, source_, std::move(standard));
    }
    const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, object_);
    if (FAILED(static_cast<HRESULT>(result))) return std::nullopt;
    return result;
}

}  // namespace tessel::player
