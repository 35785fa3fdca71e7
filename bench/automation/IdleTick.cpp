// The watch's own cost of one idle tick: 20 open note windows showing
// received messages that are already coloured, colouring on, against the
// simulated desktop.  The cross-process calls of a real desktop come on top
// of this figure; the end-to-end benchmark under Wine measures those.
#include <benchmark/benchmark.h>

#include "../../tests/automation/FakeDesktop.h"
#include "automation/WindowWatcher.h"

namespace {

void IdleTickWith20ReceivedMessages(benchmark::State& state) {
  FakeDesktop desk;
  Settings settings;
  ResetSettings(settings);
  settings.oeReactionDelay = 0;
  desk.AddMainWindow();
  for (int i = 0; i < 20; ++i) {
    const WindowHandle note = desk.AddNoteWindow("Message " + std::to_string(i), false);
    desk.DocumentOf(note).innerHtml = "hello<BR>&gt; quoted line<BR>&gt; &gt; deeper";
  }
  desk.DocumentOf(desk.messageView).innerHtml = "preview<BR>&gt; quoted";
  StatusLog log;
  WindowWatcher watcher(settings, log, desk, desk.Platform(), desk, L"C:\\Kelvane", "no-styles.css");
  watcher.OnTimer();  // colours everything once; later ticks find the marks
  if (log.Size() != 20) state.SkipWithError("the first tick did not colour the 20 messages");
  for (auto _ : state) {
    desk.events.clear();
    watcher.OnTimer();
    benchmark::DoNotOptimize(desk.events.size());
  }
  if (log.Size() != 20) state.SkipWithError("an idle tick wrote a row");
}

BENCHMARK(IdleTickWith20ReceivedMessages)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
