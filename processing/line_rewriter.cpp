#include "processing/line_rewriter.h"

#include <cstring>

void LineRewriter::WriteLine(std::string_view line) {
    const size_t end = static_cast<size_t>(line.data() - text_.data()) + line.size();
    if (!spilling_ && end + 2 <= reader_.Position()) {
        // The two bytes after the line are read already: its own CR LF, or the "//" where it was
        // cut. CR LF goes there, and the line joins the run of lines before it when it follows
        // them. The new text stays behind the lines read, so the run's bytes are still in place.
        text_[end] = '\r';
        text_[end + 1] = '\n';
        if (pendingSize_ == 0 || pending_ + pendingSize_ != line.data()) {
            MovePending();
            pending_ = line.data();
        }
        pendingSize_ += line.size() + 2;
        written_ += line.size() + 2;
        return;
    }
    MovePending();
    WriteWithCrLf(line);
}

void LineRewriter::MovePending() {
    char* const to = text_.data() + written_ - pendingSize_;
    if (pendingSize_ != 0 && to != pending_) {
        std::memmove(to, pending_, pendingSize_);
    }
    pendingSize_ = 0;
}

void LineRewriter::WriteWithCrLf(std::string_view line) {
    if (!spilling_ && written_ + line.size() + 2 > reader_.Position()) {
        spilling_ = true;
        spilled_.reserve(text_.size() + text_.size() / 8 + 2);
        spilled_.assign(text_, 0, written_);
    }
    if (spilling_) {
        spilled_.append(line).append("\r\n");
        return;
    }
    char* const to = text_.data() + written_;
    if (to != line.data()) {  // while nothing has been dropped, lines stay where they are
        std::memmove(to, line.data(), line.size());
    }
    to[line.size()] = '\r';
    to[line.size() + 1] = '\n';
    written_ += line.size() + 2;
}

void LineRewriter::Finish() {
    MovePending();
    if (spilling_) {
        text_ = std::move(spilled_);
    } else {
        text_.resize(written_);
    }
}
