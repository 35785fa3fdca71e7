// ReformatReply over bodies of 10 KB, 1 MB and 10 MB: time per byte must stay
// flat as the body grows.  The same for UTF-8 text measured in bytes and in
// display columns.
#include <benchmark/benchmark.h>

#include <string>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "QuotedText.h"
#include "engine/ReplyFormatter.h"
#include "engine/Settings.h"
#include "engine/unicode/Utf8Measure.h"

namespace {

void Reformat(benchmark::State& state, bool utf8Text, const TextMeasure* measure) {
  const std::string input = MakeReplyBody(static_cast<std::size_t>(state.range(0)), utf8Text);
  Settings settings;
  ResetSettings(settings);
  TextForm form;
  form.measure = measure;
  UseTodaysMailRules(form);
  for (auto _ : state) {
    std::string body = input;
    int cursorLines = 0;
    ReplyFormatter formatter(settings, form);
    benchmark::DoNotOptimize(formatter.ReformatReply(body, cursorLines));
    benchmark::DoNotOptimize(body.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
  state.SetComplexityN(static_cast<int64_t>(input.size()));
}

void BM_ReformatReply(benchmark::State& state) {
  Reformat(state, false, nullptr);
}
void BM_ReformatReplyUtf8TextAsBytes(benchmark::State& state) {
  Reformat(state, true, nullptr);
}
void BM_ReformatReplyUtf8TextAsUtf8(benchmark::State& state) {
  Reformat(state, true, &Utf8Measure());
}

BENCHMARK(BM_ReformatReply)
    ->Arg(10 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ReformatReplyUtf8TextAsBytes)
    ->Arg(10 << 10)
    ->Arg(1 << 20)
    ->Arg(10 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_ReformatReplyUtf8TextAsUtf8)
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
