// The skinned windows for assistive technology. Their buttons, read-outs and bars are
// painted, not windows, so without this a screen reader finds nothing in them. Each
// window answers WM_GETOBJECT for its client area with an object whose children are
// the body window's parts (role, name, place on the screen, value, default action);
// the window itself is described by the system's standard object.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <optional>
#include <string>

#include "player/shared/body_parts.h"
#include "win32/com.h"

namespace tessel::player {

// What the object asks of the window that shows the parts.
class BodyPartsSource {
public:
    // The part's visible rectangle in screen pixels.
    virtual ScreenRect PartOnScreen(BodyPart part) const = 0;
    virtual std::optional<std::wstring> PartValueText(BodyPart part) const = 0;
    virtual bool PartFocused(BodyPart part) const = 0;
    virtual bool PartsVisible() const = 0;
    // Does what a click on the part does, once the caller has returned: a click that
    // opens a message box must not hold a screen reader's call until the box closes.
    virtual void PostPartClick(BodyPart part) = 0;

protected:
    ~BodyPartsSource() = default;
};

class PartsAccessibleObject;

// One window's accessible object, made on the first request and cut off from the
// window when this goes (a screen reader may hold it longer).
class PartsAccessible {
public:
    explicit PartsAccessible(BodyPartsSource& source) : source_(source) {}
    ~PartsAccessible();
    PartsAccessible(const PartsAccessible&) = delete;
    PartsAccessible& operator=(const PartsAccessible&) = delete;

    // The answer to WM_GETOBJECT; none for the objects the system describes itself.
    std::optional<LRESULT> Answer(HWND window, WPARAM wParam, LPARAM lParam);

private:
    BodyPartsSource& source_;
    std::optional<win32::ComApartment> com_;
    PartsAccessibleObject* object_ = nullptr;  // one reference held
};

// Child ids: 1 and up, in the parts' reading order (0 is the window itself).
inline LONG ChildIdOf(BodyPart part) { return static_cast<LONG>(part) + 1; }

}  // namespace tessel::player
