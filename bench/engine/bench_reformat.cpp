// ReformatReply over bodies of 10 KB, 1 MB and 10 MB: time per byte must stay
// flat as the body grows.
#include <benchmark/benchmark.h>

#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "QuotedText.h"
#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"

namespace {

void BM_ReformatReply(benchmark::State& state) {
  const std::string input = MakeReplyBody(static_cast<std::size_t>(state.range(0)));
  Settings settings;
  ResetSettings(settings);
  for (auto _ : state) {
    std::string body = input;
    int cursorLines = 0;
    ReplyFormatter formatter(settings);
    benchmark::DoNotOptimize(formatter.ReformatReply(body, cursorLines));
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.SetComplexityN(static_cast<int64_t>(input.size()));
}

BENCHMARK(BM_ReformatReply)
    ->Arg(10 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Keep freed memory in the heap between iterations.  Otherwise glibc hands
  // the tens of megabytes of a 10 MB run back to the kernel after every
  // iteration, and the next one measures page faults (expensive in virtual
  // machines) instead of the engine.
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
