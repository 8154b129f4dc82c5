// The one owner of every kind of handle: a file handle or descriptor, a font, COM memory, a COM
// apartment. `Traits` gives the handle's type, its empty value and its release call.
#pragma once

#include <utility>

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
