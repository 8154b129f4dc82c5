#include "cli/progress.h"

#include <cstdio>

namespace {

constexpr auto kFirstDraw = std::chrono::milliseconds(500);
constexpr auto kRedraw = std::chrono::milliseconds(200);
constexpr int kBarWidth = 24;
constexpr int kLineWidth = 79;

std::string Format(const char* format, auto... values) {
    char buffer[160];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    return std::string(buffer,
                       static_cast<size_t>(std::max(0, std::min<int>(length, sizeof buffer - 1))));
}

}  // namespace

Progress::Progress(Console& console, bool showBar, std::uintmax_t totalFiles,
                   std::uintmax_t totalBytes)
    : console_(console), totalFiles_(totalFiles), totalBytes_(totalBytes) {
    if (showBar && console.IsTerminal(Stream::Err)) {
        thread_ = std::thread(&Progress::Loop, this);
    }
}

Progress::~Progress() {
    Stop();
}

void Progress::FileDone(std::uintmax_t bytes) {
    bytesDone_ += bytes;
    ++filesDone_;
}

void Progress::Message(const std::string& line) {
    const std::lock_guard lock(mutex_);
    Clear();
    console_.WriteText(Stream::Err, line + "\n");
}

void Progress::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
        Clear();
    }
    wake_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

double Progress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
}

void Progress::Loop() {
    std::unique_lock lock(mutex_);
    if (wake_.wait_for(lock, kFirstDraw, [&] { return stopping_; })) {
        return;
    }
    do {
        Draw();
    } while (!wake_.wait_for(lock, kRedraw, [&] { return stopping_; }));
}

// [#########...............]  120/4000 files   85.3 MB/s   0:14 left
void Progress::Draw() {
    const double seconds = Seconds();
    const double done = static_cast<double>(bytesDone_);
    const double share = totalBytes_ > 0   ? done / static_cast<double>(totalBytes_)
                         : totalFiles_ > 0 ? static_cast<double>(filesDone_) / totalFiles_
                                           : 1.0;
    const int filled = static_cast<int>(share * kBarWidth);
    const double rate = done / seconds;
    const long left = rate > 0 ? static_cast<long>((totalBytes_ - done) / rate) : 0;
    const std::string line =
        "\r[" + std::string(filled, '#') + std::string(kBarWidth - filled, '.') + "] " +
        Format("%ju/%ju files  %.1f MB/s  %ld:%02ld left", static_cast<uintmax_t>(filesDone_),
               totalFiles_, rate / 1e6, left / 60, left % 60);
    console_.WriteText(Stream::Err, line);
    shown_ = true;
}

void Progress::Clear() {
    if (shown_) {
        console_.WriteText(Stream::Err, "\r" + std::string(kLineWidth, ' ') + "\r");
        shown_ = false;
    }
}

std::string SummaryLine(const RunTotals& totals, bool check) {
    const double in = static_cast<double>(totals.bytesIn);
    const double removed = in > 0 ? 100.0 * (in - static_cast<double>(totals.bytesOut)) / in : 0;
    std::string line =
        Format("%ju %s, %.1f MB in, %.1f MB out (%.1f %% removed), ", totals.files,
               totals.files == 1 ? "file" : "files", in / 1e6, totals.bytesOut / 1e6, removed);
    if (check) {
        line += Format("%ju would change, ", totals.changed);
    }
    line += Format("%ju errors, %.2f s, %.1f MB/s\n", totals.errors, totals.seconds,
                   totals.seconds > 0 ? in / 1e6 / totals.seconds : 0.0);
    return line;
}
