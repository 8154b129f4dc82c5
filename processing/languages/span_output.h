// The result of a pass over a text, written over the source bytes already read.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "files/byte_scan.h"
#include "files/text.h"

namespace span_passes::internal {

// The result, written over the source bytes already read, which it never outgrows but for line
// ends made longer (CR LF from CR or LF): before a write would reach the first source byte still
// to be read, the result moves to a buffer of its own.
class Output {
  public:
    // Over the whole of `text`.
    explicit Output(AnsiText& text) : Output(text, 0, text.size(), SpillBuffer()) {}
    // Over the part [begin, end) of `text`, moving to `spill` when it must.
    Output(AnsiText& text, size_t begin, size_t end, AnsiText& spill)
        : text_(text),
          data_(text.data() + begin),
          source_(std::string_view(text).substr(begin, end - begin)),
          spill_(spill) {}

    size_t size() const { return size_; }
    std::string_view View() const { return {data_, size_}; }
    char back() const { return data_[size_ - 1]; }
    char operator[](size_t at) const { return data_[at]; }

    // Writes `bytes`, the source being read from `readFrom` on.
    void Put(const char* bytes, size_t count, size_t readFrom) {
        if (size_ + count > (spilled_ ? spill_.size() : readFrom)) {
            MakeRoom(count, readFrom);
        }
        char* const to = data_ + size_;
        if (to != bytes) {  // else nothing was removed before them yet: they are in place
            CopyDown(to, bytes, count);
        }
        size_ += count;
    }
    void Put(std::string_view bytes, size_t readFrom) { Put(bytes.data(), bytes.size(), readFrom); }

    // Writes the source's lines [from, to), each ending in LF, with CR LF: a byte a line more.
    void PutLinesWithCrLf(size_t from, size_t to) {
        // Apart from the source, the copy overwrites 16 bytes past its end.
        const size_t count = (to - from) + byte_scan::Count(source_, from, to, '\n');
        if (size_ + count > (spilled_ ? spill_.size() - 16 : to)) {
            MakeRoom(count + 16, from);
        }
        size_ += byte_scan::CopyWithCrLf(source_.data() + from, to - from, data_ + size_);
    }

    void Shrink(size_t size) { size_ = size; }

    // Leaves the result, its first `size` bytes, in the text.
    void Finish(size_t size) {
        if (!spilled_) {
            text_.resize(size);
            return;
        }
        // The source's buffer is kept for the next result that outgrows its source, unless a
        // large file's would be kept for the small ones after it.
        spill_.resize(size);
        text_.swap(spill_);
        if (spill_.capacity() > 2 * text_.capacity() + (1 << 20)) {
            spill_ = AnsiText();
        }
    }

  private:
    // Copies `count` bytes to `to`, never after `bytes`. A line end or a short line is copied
    // without a call, in two pieces read before either is written.
    static void CopyDown(char* to, const char* bytes, size_t count) {
        const auto twoPieces = [&]<class Piece>(Piece) {
            Piece first;
            Piece last;
            std::memcpy(&first, bytes, sizeof(Piece));
            std::memcpy(&last, bytes + count - sizeof(Piece), sizeof(Piece));
            std::memcpy(to, &first, sizeof(Piece));
            std::memcpy(to + count - sizeof(Piece), &last, sizeof(Piece));
        };
        if (count > 32) {
            std::memmove(to, bytes, count);
        } else if (count >= 16) {
            twoPieces(std::array<uint64_t, 2>());
        } else if (count >= 8) {
            twoPieces(uint64_t());
        } else if (count >= 4) {
            twoPieces(uint32_t());
        } else if (count >= 2) {
            twoPieces(uint16_t());
        } else if (count == 1) {
            to[0] = bytes[0];
        }
    }

    // Room for `count` bytes more, the source being read from `readFrom` on: the result moves to
    // the spill buffer, sized for an eighth more than the rest of the source (a byte for each
    // line end of lines of eight bytes and more), or that buffer grows.
    [[gnu::noinline]] void MakeRoom(size_t count, size_t readFrom) {
        if (spilled_) {
            spill_.resize(std::max(2 * spill_.size(), size_ + count));
        } else {
            const size_t rest = source_.size() - std::min(readFrom, source_.size());
            spill_.resize(size_ + count + rest + rest / 8 + 16);
            std::memcpy(spill_.data(), data_, size_);
            spilled_ = true;
        }
        data_ = spill_.data();
    }

    static AnsiText& SpillBuffer() {
        thread_local AnsiText buffer;
        return buffer;
    }

    AnsiText& text_;
    char* data_;  // the source's bytes, or the spill buffer's
    const std::string_view source_;
    size_t size_ = 0;
    AnsiText& spill_;
    bool spilled_ = false;
};

}  // namespace span_passes::internal
