// How many Skype texts a second the bridge logic gets through, natively, for the kinds of
// text a call produces.
#include <benchmark/benchmark.h>

#include "tests/unit/fake_bridge_ports.h"

namespace {

void RunTexts(benchmark::State& state, const std::vector<std::string>& texts) {
  BridgeFixture bridge(/*handsets=*/1);
  bridge.AttachSkype();
  bridge.AttachPanel();
  for (auto _ : state) {
    for (const auto& text : texts) bridge.Notify(text);
    bridge.journal.Clear();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(texts.size()));
}

void IncomingCallLife(benchmark::State& state) {
  RunTexts(state, {"CALL 1201 STATUS RINGING", "CALL 1201 TYPE INCOMING_P2P", "CALLS 1201",
                   "CALL 1201 STATUS INPROGRESS", "CALLS 1201", "MUTE ON", "MUTE OFF",
                   "CALL 1201 STATUS FINISHED", "CALLS "});
}

void TimerPollAnswers(benchmark::State& state) {
  RunTexts(state, {"CALLS 1201, 1202", "RINGER USB PHONE", "USERSTATUS ONLINE"});
}

void UnrelatedTexts(benchmark::State& state) {
  RunTexts(state, {"CONNSTATUS ONLINE", "CURRENTUSERHANDLE someone", "AUDIO_OUT Speakers (USB PHONE)",
                   "USER someone ONLINESTATUS ONLINE", " leading blank"});
}

}  // namespace

BENCHMARK(IncomingCallLife);
BENCHMARK(TimerPollAnswers);
BENCHMARK(UnrelatedTexts);
BENCHMARK_MAIN();
