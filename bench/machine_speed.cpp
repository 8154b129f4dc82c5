// The machine's own speed, run beside each benchmark program's figures: a loop of dependent
// multiply-adds that touches no memory. On a virtual machine the processors' speed moves from
// minute to minute; this time moves with it, and says which figures were taken at which speed.
#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

void BM_MachineSpeed(benchmark::State& state) {
    for (auto _ : state) {
        uint32_t x = 1;
        for (int i = 0; i < 10'000'000; ++i) {
            x = x * 1664525u + 1013904223u;
        }
        benchmark::DoNotOptimize(x);
    }
}
BENCHMARK(BM_MachineSpeed)->Unit(benchmark::kMillisecond);

}  // namespace
