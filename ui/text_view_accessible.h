// The text view as screen readers see it, through Microsoft Active Accessibility and UI
// Automation: one read-only, focusable text (an edit control to UI Automation) without children,
// named by its owner (the prompt's title), whose value is the whole text. The system's standard
// object cannot stand in for a window class it does not know.
#pragma once

#include <windows.h>
#include <oleacc.h>
#include <uiautomationcore.h>

#include <string_view>

// UI Automation's Value pattern, which mingw-w64's headers lack.
MIDL_INTERFACE("c7935180-6fb3-4201-b174-7df73adbf64a")
IValueProvider : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetValue(LPCWSTR value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR * value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL * readOnly) = 0;
};
__CRT_UUID_DECL(IValueProvider, 0xc7935180, 0x6fb3, 0x4201, 0xb1, 0x74, 0x7d, 0xf7, 0x3a, 0xdb,
                0xf6, 0x4a)

// What the object reads from the view while the view lives.
class AccessibleTextSource {
  public:
    virtual std::wstring_view AccessibleName() const = 0;
    virtual std::wstring_view AccessibleText() const = 0;

  protected:
    ~AccessibleTextSource() = default;
};

// The object for `window`, whose texts come from `source`, with one reference for the caller; null
// when memory runs out. Clients may hold it after the window has gone: when the window is
// destroyed, DisconnectAccessibleText cuts it off from the window and the source (clients then hear
// that it has gone) and releases the caller's reference.
IAccessible* NewAccessibleText(HWND window, const AccessibleTextSource& source);
void DisconnectAccessibleText(IAccessible* object);
// The answer to WM_GETOBJECT for object `id` (OBJID_CLIENT or UI Automation's root), or 0 for the
// objects left to the system.
LRESULT AnswerGetObject(IAccessible* object, WPARAM flags, LPARAM id);
