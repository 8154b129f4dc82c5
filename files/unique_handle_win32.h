// The kinds of Win32 handle the program owns.
#pragma once

#include <windows.h>
#include <objbase.h>

#include "files/unique_any.h"

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Release(Type handle) { return CloseHandle(handle) != FALSE; }
};
using UniqueFileHandle = UniqueAny<FileHandleTraits>;

struct FontTraits {
    using Type = HFONT;
    static Type Empty() { return nullptr; }
    static bool Release(Type font) { return DeleteObject(font) != FALSE; }
};
using Font = UniqueAny<FontTraits>;

// Memory the shell hands out, such as an item list.
struct CoTaskMemTraits {
    using Type = void*;
    static Type Empty() { return nullptr; }
    static bool Release(Type memory) {
        CoTaskMemFree(memory);
        return true;
    }
};
using UniqueCoTaskMem = UniqueAny<CoTaskMemTraits>;

// COM on this thread, undone only where it was done: the value says whether it was.
struct ComInitialisationTraits {
    using Type = bool;
    static Type Empty() { return false; }
    static bool Release(Type) {
        CoUninitialize();
        return true;
    }
};
using ComInitialisation = UniqueAny<ComInitialisationTraits>;

// A window's DC, released when it goes.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() { ReleaseDC(window_, dc_); }
    HDC Get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Puts back the object that was selected into a DC before this one, when it goes.
class SelectionGuard {
  public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() { SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};
