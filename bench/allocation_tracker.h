// Counts the heap bytes in use, so a benchmark can report the peak of one operation.
#pragma once

#include <cstddef>

namespace allocation_tracker {

// Starts a new measurement: the peak is reset to what is in use now.
void ResetPeak();
// The highest number of bytes in use since ResetPeak, less what was in use then.
size_t PeakSinceReset();

}  // namespace allocation_tracker
