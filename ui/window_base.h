// The one base of the program's windows: registers the class once, binds the object to its window
// on WM_NCCREATE (the object comes as the creation parameter) and unbinds it on WM_NCDESTROY.
// No C++ exception leaves a window procedure, since it would unwind through the system's frames:
// the first one is kept and rethrown by the owner once the system's call has returned. Guard does
// the same for the program's other code that the system calls (subclass procedures) or that runs
// between messages.
#pragma once

#include <windows.h>

#include <exception>
#include <utility>

template <typename Derived>
class WindowBase {
  public:
    HWND Window() const { return window_; }

    bool Failed() const { return static_cast<bool>(failure_); }

    // Rethrows the exception a window procedure of this object caught, if any.
    void RethrowFailure() {
        if (failure_) {
            std::rethrow_exception(std::exchange(failure_, nullptr));
        }
    }

    // Runs `action`; keeps the first exception it throws and wakes the message loop, so that the
    // owner hears of it without waiting for the next input. False when it threw.
    template <typename Action>
    bool Guard(Action&& action) noexcept {
        try {
            action();
            return true;
        } catch (...) {
            if (!failure_) {
                failure_ = std::current_exception();
                PostMessageW(window_, WM_NULL, 0, 0);
            }
            return false;
        }
    }

  protected:
    // Registers the window class once; `windowClass` gives its style, cursor, icon and background.
    static void Register(const wchar_t* className, WNDCLASSEXW windowClass) {
        static const bool registered = [&] {
            windowClass.cbSize = sizeof windowClass;
            windowClass.lpfnWndProc = Procedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = className;
            return RegisterClassExW(&windowClass) != 0;
        }();
        (void)registered;
    }

    LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) {
        return DefWindowProcW(window_, message, wParam, lParam);
    }

    HWND window_ = nullptr;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* self = static_cast<Derived*>(
                reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
        auto* self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self == nullptr) {
            return DefWindowProcW(window, message, wParam, lParam);
        }
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->window_ = nullptr;
            return DefWindowProcW(window, message, wParam, lParam);
        }
        LRESULT result = 0;
        if (self->Guard([&] { result = self->OnMessage(message, wParam, lParam); })) {
            return result;
        }
        if (message == WM_PAINT) {
            ValidateRect(window, nullptr);
        }
        return message == WM_CREATE ? -1 : 0;
    }

    std::exception_ptr failure_;
};
