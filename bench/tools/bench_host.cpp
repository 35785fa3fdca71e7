// The Thunderbird host's own time for one reply of 100 KB, the whole round
// trip through the framing: the request encoded and framed, read and parsed,
// the engine, the reply encoded and framed, read and decoded.  Goal: at most
// 5 ms.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ByteStreams.h"
#include "Framing.h"
#include "HostJson.h"
#include "HostSession.h"
#include "bench/engine/QuotedText.h"
#include "engine/unicode/Utf8Measure.h"

namespace {

// A reply as Thunderbird opens it: its attribution, the quote ending in the
// sender's signature, the own signature below.
std::string ThunderbirdReply(std::size_t bytes, bool utf8) {
  std::string body = "On 12/7/26 10:15 AM, Ann Lee wrote:\n";
  AppendQuotedText(body, bytes, "\n", utf8);
  body += "> -- \n> Ann\n\n-- \nBob";
  return body;
}

void HostRoundTrip(benchmark::State& state, bool utf8) {
  const std::string body = ThunderbirdReply(static_cast<std::size_t>(state.range(0)), utf8);
  HostSetup setup;
  setup.measure = &Utf8Measure();
  std::size_t replyBytes = 0;
  for (auto _ : state) {
    const HostJson request = {{"version", 1},
                              {"id", 7},
                              {"type", "reply"},
                              {"body", body},
                              {"sender", {{"name", "Ann Lee"}, {"mail", "ann.lee@example.com"}}},
                              {"options", {{"wrapColumn", 72}, {"quoteChar", ">"}, {"cursorAtTop", 0}}}};
    const std::string text = request.dump();
    const std::uint32_t length = static_cast<std::uint32_t>(text.size());
    std::string framed(sizeof length, '\0');
    std::memcpy(&framed[0], &length, sizeof length);
    framed += text;

    StringReader in(framed);
    StringWriter out;
    RunHostSession(in, out, setup);

    StringReader back(out.bytes);
    std::string frame;
    ReadFrame(back, frame);
    const HostJson reply = HostJson::parse(frame, nullptr, false);
    if (reply.value("result", 1) != 0) state.SkipWithError("the engine left the reply alone");
    replyBytes = frame.size();
    benchmark::DoNotOptimize(reply);
  }
  state.counters["reply_bytes"] = static_cast<double>(replyBytes);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(body.size()));
}

void BM_HostRoundTrip(benchmark::State& state) {
  HostRoundTrip(state, false);
}
void BM_HostRoundTripUtf8Text(benchmark::State& state) {
  HostRoundTrip(state, true);
}

BENCHMARK(BM_HostRoundTrip)->Arg(100 << 10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HostRoundTripUtf8Text)->Arg(100 << 10)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
