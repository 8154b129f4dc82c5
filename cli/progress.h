// The progress bar, the messages printed while files are processed, and the closing summary.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "cli/console.h"

struct RunTotals {
    std::uintmax_t files = 0;
    std::uintmax_t bytesIn = 0;
    std::uintmax_t bytesOut = 0;
    std::uintmax_t errors = 0;
    std::uintmax_t changed = 0;  // counted with --check only
    double seconds = 0;
};

class Progress {
  public:
    // The bar shows on standard error when `showBar` and it is a terminal, once the work has
    // taken half a second.
    Progress(Console& console, bool showBar, std::uintmax_t totalFiles, std::uintmax_t totalBytes);
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    // Counts a finished file; safe from any thread.
    void FileDone(std::uintmax_t bytes);
    // Prints a line on standard error, clearing the bar first; safe from any thread.
    void Message(const std::string& line);
    // Removes the bar for good.
    void Stop();
    double Seconds() const;

  private:
    void Draw();
    void Clear();
    void Loop();

    Console& console_;
    const std::uintmax_t totalFiles_;
    const std::uintmax_t totalBytes_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::atomic<std::uintmax_t> filesDone_{0};
    std::atomic<std::uintmax_t> bytesDone_{0};
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    bool shown_ = false;
    std::thread thread_;
};

// "[#########...............]  120/4000 files   85.3 MB/s   0:14 left", without a line end. The
// bar is full, and no more, when more bytes were read than counted: files grow while being read.
std::string BarLine(std::uintmax_t filesDone, std::uintmax_t totalFiles, std::uintmax_t bytesDone,
                    std::uintmax_t totalBytes, double seconds);

// "12 files, 3.4 MB in, 2.1 MB out (38.2 % removed), 0 errors, 0.52 s, 6.5 MB/s", with a line end.
// The bytes are those of the files done: a file that failed counts in neither.
std::string SummaryLine(const RunTotals& totals, bool check);
