// Ctrl+C and its kin during a run: the run stops starting files and lets those in flight end, so
// that no temporary file is left beside a source.
#pragma once

// While one lives, an interrupt (SIGINT or SIGTERM; Ctrl+C or Ctrl+Break on Windows) is recorded
// instead of ending the process; a second one ends it as usual. One at a time.
class InterruptWatch {
  public:
    InterruptWatch();
    ~InterruptWatch();
    InterruptWatch(const InterruptWatch&) = delete;
    InterruptWatch& operator=(const InterruptWatch&) = delete;

    bool Requested() const;
};
