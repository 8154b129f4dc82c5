#include "cli/progress.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

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
        try {
            thread_ = std::thread(&Progress::Loop, this);
        } catch (const std::system_error&) {
            // The run goes on without a bar.
        }
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

void Progress::Draw() {
    console_.WriteText(Stream::Err,
                       '\r' + BarLine(filesDone_, totalFiles_, bytesDone_, totalBytes_, Seconds()));
    shown_ = true;
}

void Progress::Clear() {
    if (shown_) {
        console_.WriteText(Stream::Err, "\r" + std::string(kLineWidth, ' ') + "\r");
        shown_ = false;
    }
}

std::string BarLine(std::uintmax_t filesDone, std::uintmax_t totalFiles, std::uintmax_t bytesDone,
                    std::uintmax_t totalBytes, double seconds) {
    const double done = static_cast<double>(bytesDone);
    const double share = totalBytes > 0   ? done / static_cast<double>(totalBytes)
                         : totalFiles > 0 ? static_cast<double>(filesDone) / totalFiles
                                          : 1.0;
    const int filled = static_cast<int>(std::min(share, 1.0) * kBarWidth);
    const double rate = done / seconds;
    const double bytesLeft = std::max(0.0, static_cast<double>(totalBytes) - done);
    const long left = rate > 0 ? static_cast<long>(bytesLeft / rate) : 0;
    std::string line = "[";
    line.append(filled, '#').append(kBarWidth - filled, '.').append("] ");
    return line + Format("%ju/%ju files  %.1f MB/s  %ld:%02ld left", filesDone, totalFiles,
                         rate / 1e6, left / 60, left % 60);
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
    line += Format("%ju %s, %.2f s, %.1f MB/s\n", totals.errors,
                   totals.errors == 1 ? "error" : "errors", totals.seconds,
                   totals.seconds > 0 ? in / 1e6 / totals.seconds : 0.0);
    return line;
}
