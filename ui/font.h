// The fonts of the window and the text viewer, owned and scaled to a DPI.
#pragma once

#include <windows.h>

#include <utility>

class Font {
  public:
    Font() = default;
    Font(Font&& other) noexcept : font_(std::exchange(other.font_, nullptr)) {}
    Font& operator=(Font&& other) noexcept {
        std::swap(font_, other.font_);
        return *this;
    }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;
    ~Font() {
        if (font_ != nullptr) {
            DeleteObject(font_);
        }
    }

    // The system's message font at `dpi`.
    static Font Message(int dpi);
    // A monospaced font of the message font's size at `dpi`.
    static Font Monospaced(int dpi);

    HFONT Get() const { return font_; }

  private:
    explicit Font(HFONT font) : font_(font) {}
    HFONT font_ = nullptr;
};

// Sets `font` on every child of `parent`.
void ApplyFont(HWND parent, HFONT font);
