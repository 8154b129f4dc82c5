// The text view as Microsoft Active Accessibility clients (screen readers) see it: one read-only,
// focusable text without children, named by its owner (the prompt's title), whose value is the
// whole text. The system's standard object cannot stand in for a window class it does not know.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <string_view>

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
