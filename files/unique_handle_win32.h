// Owners for Win32 handles, each kind with its own "empty" value and release call.
#pragma once

#include <windows.h>

#include <utility>

// `Traits` gives the handle type, its empty value and its release call.
template <typename Traits>
class UniqueAny {
  public:
    using Type = typename Traits::Type;

    UniqueAny() = default;
    explicit UniqueAny(Type value) : value_(value) {}
    UniqueAny(UniqueAny&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
    UniqueAny& operator=(UniqueAny&& other) noexcept {
        Reset(std::exchange(other.value_, Traits::Empty()));
        return *this;
    }
    UniqueAny(const UniqueAny&) = delete;
    UniqueAny& operator=(const UniqueAny&) = delete;
    ~UniqueAny() { Reset(); }

    Type Get() const { return value_; }
    bool Valid() const { return value_ != Traits::Empty(); }
    // Releases the held value; false when the release call failed.
    bool Reset(Type value = Traits::Empty()) {
        bool released = true;
        if (Valid()) {
            released = Traits::Release(value_);
        }
        value_ = value;
        return released;
    }

  private:
    Type value_ = Traits::Empty();
};

// CreateFileW reports failure with INVALID_HANDLE_VALUE, not NULL.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Release(Type handle) { return CloseHandle(handle) != FALSE; }
};
using UniqueFileHandle = UniqueAny<FileHandleTraits>;
