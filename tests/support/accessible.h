// A window's client object as a screen reader gets it (AccessibleObjectFromWindow),
// and its children read through it.
#pragma once

#include <windows.h>

#include <oleacc.h>

#include <string>
#include <vector>

#include "win32/com.h"

namespace tessel::test {

inline win32::ComRef<IAccessible> AccessibleOf(HWND window) {
    win32::ComRef<IAccessible> object;
    // The GUID itself: MinGW's import library gives IID_IAccessible as a thunk.
    ::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                 object.PutVoid());
    return object;
}

inline VARIANT Child(LONG id) {
    VARIANT v;
    ::VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = id;
    return v;
}

// A text property of a child; `result` gets the call's HRESULT.
template <typename Getter>
std::wstring AccText(IAccessible* object, LONG id, Getter getter, HRESULT* result = nullptr) {
    BSTR text = nullptr;
    const HRESULT hr = (object->*getter)(Child(id), &text);
    if (result) *result = hr;
    std::wstring out = text ? std::wstring(text, ::SysStringLen(text)) : std::wstring();
    ::SysFreeString(text);
    return out;
}

struct AccChild {
    LONG role = 0, state = 0;
    std::wstring name;
    RECT rect{};
};

inline std::vector<AccChild> AccChildren(IAccessible* object) {
    long count = 0;
    if (FAILED(object->get_accChildCount(&count))) return {};
    std::vector<AccChild> children;
    for (LONG id = 1; id <= count; ++id) {
        AccChild c;
        VARIANT v;
        ::VariantInit(&v);
        if (SUCCEEDED(object->get_accRole(Child(id), &v)) && v.vt == VT_I4) c.role = v.lVal;
        ::VariantInit(&v);
        if (SUCCEEDED(object->get_accState(Child(id), &v)) && v.vt == VT_I4) c.state = v.lVal;
        c.name = AccText(object, id, &IAccessible::get_accName);
        long x = 0, y = 0, w = 0, h = 0;
        if (SUCCEEDED(object->accLocation(&x, &y, &w, &h, Child(id)))) c.rect = RECT{x, y, x + w, y + h};
        children.push_back(c);
    }
    return children;
}

}  // namespace tessel::test
