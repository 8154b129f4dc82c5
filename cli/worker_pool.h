// Runs work items on several threads.
#pragma once

#include <cstddef>
#include <functional>

// Calls `work` once for each index below `count`, on `workers` threads (the caller's own when
// one), each thread taking the next index as it finishes one. Returns when all are done, with the
// number of threads that worked: fewer than asked when the system would not start more. The first
// exception `work` throws is thrown again once every thread has stopped; no further index is
// handed out after it.
unsigned RunInParallel(size_t count, unsigned workers, const std::function<void(size_t)>& work);
