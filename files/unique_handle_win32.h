// Owners for Win32 handles, each kind with its own "empty" value and release call.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, T Empty, auto Release>
class UniqueAny {
  public:
    UniqueAny() = default;
    explicit UniqueAny(T value) : value_(value) {}
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, Empty)) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        Reset(std::exchange(other.value_, Empty));
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { Reset(); }

    T Get() const { return value_; }
    bool Valid() const { return value_ != Empty; }
    // Releases the held value; false when the release call failed.
    bool Reset(T value = Empty) {
        bool released = true;
        if (value_ != Empty) {
            released = Release(value_);
        }
        value_ = value;
        return released;
    }

  private:
    T value_ = Empty;
};

inline bool CloseFileHandle(HANDLE handle) {
    return CloseHandle(handle) != FALSE;
}

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not NULL.
using UniqueFileHandle = UniqueAny<HANDLE, INVALID_HANDLE_VALUE, CloseFileHandle>;
