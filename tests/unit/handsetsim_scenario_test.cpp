#include <gtest/gtest.h>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "tools/handsetsim/hold_schedule.h"
#include "tools/handsetsim/scenario_runner.h"
#include "tools/handsetsim/simulator.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim {
namespace {

TEST(HandsetsimHold, RepeatsTheKeyThenReleases) {
  EXPECT_EQ(HoldReports(0x1b, 450, 100),
            (std::vector<TTimedKey>{{0, 0x1b}, {100, 0x1b}, {200, 0x1b}, {300, 0x1b}, {400, 0x1b}, {450, 0}}));
  EXPECT_EQ(HoldReports(0x1b, 200, 100), (std::vector<TTimedKey>{{0, 0x1b}, {100, 0x1b}, {200, 0}}));
  EXPECT_EQ(HoldReports(7, 0, 100), (std::vector<TTimedKey>{{0, 7}, {0, 0}}));
  EXPECT_EQ(HoldReports(7, 0x7FFFFFFF, 0x7FFFFFFF).size(), 2u);
}

TEST(HandsetsimHold, PlayerCatchesUpWithALateClock) {
  THoldPlayer player(HoldReports(5, 300, 100), 1000);
  EXPECT_EQ(player.TakeDue(1000), std::vector<std::uint8_t>{5});
  EXPECT_EQ(player.MsUntilNext(1030), 70u);
  // A late timer: everything due by now, at once and in order.
  EXPECT_EQ(player.TakeDue(1310), (std::vector<std::uint8_t>{5, 5, 0}));
  EXPECT_TRUE(player.Done());
}

// The simulator's world: a log, pipes that do what they are told, timers and a clock the test
// moves by hand.
class FakePort : public ISimulatorPort {
 public:
  void Log(std::string_view event, const std::string& details) override {
    lines.push_back(std::string(event) + (details.empty() ? "" : " " + details));
  }
  bool Listen(int channel, const std::string& path) override {
    listening[channel] = path;
    return true;
  }
  void StopListening(int channel) override {
    listening.erase(channel);
    stopped.push_back(channel);
  }
  void Send(ConnectionId connection, const Bytes& message) override { sent[connection].push_back(message); }
  void Withdraw(ConnectionId connection) override { withdrawn.push_back(connection); }
  void StartTimer(unsigned id, std::uint32_t milliseconds) override { timers[id] = now + milliseconds; }
  void StopTimer(unsigned id) override { timers.erase(id); }
  std::uint64_t NowMs() override { return now; }
  void WakeUp() override { ++wakeUps; }
  void Quit() override { quitted = true; }

  std::string lastText(ConnectionId connection) {
    const Bytes& message = sent.at(connection).back();
    return std::string(message.begin(), message.end());
  }

  std::vector<std::string> lines;
  std::map<int, std::string> listening;
  std::vector<int> stopped;
  std::map<ConnectionId, std::vector<Bytes>> sent;
  std::vector<ConnectionId> withdrawn;
  std::map<unsigned, std::uint64_t> timers;  // id -> when it fires
  std::uint64_t now = 5000;
  int wakeUps = 0;
  bool quitted = false;
};

class HandsetsimScenario : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(simulator.Start()); }

  // Moves the clock to `until`, firing the scenario's timers that fall due, in order.
  void advanceTo(std::uint64_t until) {
    for (;;) {
      auto next = port.timers.end();
      for (auto it = port.timers.begin(); it != port.timers.end(); ++it) {
        if (it->second <= until && (next == port.timers.end() || it->second < next->second)) next = it;
      }
      if (next == port.timers.end()) break;
      const unsigned id = next->first;
      port.now = next->second;
      port.timers.erase(next);
      runner.OnTimer(id);
    }
    port.now = until;
  }
  void wake() {
    while (port.wakeUps > 0) {
      --port.wakeUps;
      runner.OnWakeUp();
    }
  }
  // A reader that takes every report offered on it, logging what it got.
  std::vector<Bytes> readAll(ConnectionId reader) {
    std::vector<Bytes> got;
    while (port.sent.count(reader) && got.size() < port.sent[reader].size()) {
      got.push_back(port.sent[reader][got.size()]);
      simulator.WriteEnded(reader, true);
    }
    return got;
  }
  bool logged(const std::string& line) const {
    for (const std::string& l : port.lines) {
      if (l == line) return true;
    }
    return false;
  }
  void control(ConnectionId connection, const std::string& text) {
    simulator.Received(connection, Bytes(text.begin(), text.end()));
  }

  FakePort port;
  TSimulator simulator{port, "hs"};
  TScenarioRunner runner{port, simulator};
};

TEST_F(HandsetsimScenario, DefinesAndServesDevices) {
  EXPECT_EQ(port.lines.front(), "READY pipe=\\\\.\\pipe\\hs");
  EXPECT_EQ(port.listening.at(kControlChannel), "\\\\.\\pipe\\hs");
  runner.AddLine("device 1 0x0c45 0x1234");
  runner.AddLine("device 1 0x0c45 0x1234");
  runner.AddLine("press 1 dev=2");
  EXPECT_EQ(port.listening.at(1), "\\\\.\\pipe\\hs.hid#vid_0c45&pid_1234#1");
  EXPECT_TRUE(logged("PLUG 1 path=\\\\.\\pipe\\hs.hid#vid_0c45&pid_1234#1"));
  EXPECT_TRUE(logged("ERROR device 1 0x0c45 0x1234 (device 1 is already defined)"));
  EXPECT_TRUE(logged("ERROR press 1 dev=2 (no device 2)"));
}

TEST_F(HandsetsimScenario, HoldSendsItsReportsOnTimeAndPausesTheScenario) {
  runner.AddLine("device 1 1 2");
  simulator.Connected(1, 10);
  runner.AddLine("hold 0x20 250 every=100");
  runner.AddLine("press 0x21");
  const std::uint64_t start = port.now;

  std::vector<std::pair<std::uint64_t, Bytes>> times;
  auto collect = [&] {
    for (const Bytes& report : readAll(10)) times.emplace_back(port.now - start, report);
    port.sent.erase(10);
  };
  collect();
  for (std::uint64_t t = start; t <= start + 400; t += 10) {
    advanceTo(t);
    collect();
  }
  const Bytes key{0, 0, 0, 0x20, 0};
  const Bytes release{0, 0, 0, 0, 0};
  const Bytes next{0, 0, 0, 0x21, 0};
  EXPECT_EQ(times, (std::vector<std::pair<std::uint64_t, Bytes>>{
                       {0, key}, {100, key}, {200, key}, {250, release}, {250, next}}));
}

TEST_F(HandsetsimScenario, WaitOutputTakesEachReportOnceAndTimesOut) {
  runner.AddLine("device 1 1 2 out=3");
  simulator.Connected(1, 10);
  const Bytes mode{0x00, 0x05, 0x11};
  simulator.Received(10, mode);
  EXPECT_TRUE(logged("OUTPUT dev=1 conn=10 00 05 11"));

  // The report came before the wait: it counts, once.
  runner.AddLine("wait-output 00 05");
  runner.AddLine("wait-output timeout=1000 00 05");
  runner.AddLine("press 1");
  EXPECT_TRUE(port.sent.empty() || port.sent[10].empty());
  simulator.Received(10, Bytes{0x00, 0x06, 0x00});  // not what is awaited
  EXPECT_EQ(port.wakeUps, 0);
  simulator.Received(10, mode);
  EXPECT_EQ(port.wakeUps, 1);
  wake();
  EXPECT_TRUE(port.sent.empty() || port.sent[10].empty());  // a query connection gets no reports

  runner.AddLine("wait-output timeout=1000 dev=1 00 07");
  runner.AddLine("quit");
  advanceTo(port.now + 999);
  EXPECT_FALSE(port.quitted);
  advanceTo(port.now + 1);
  EXPECT_TRUE(logged("TIMEOUT wait-output dev=1 00 07"));
  EXPECT_TRUE(port.quitted);
  EXPECT_EQ(port.lines.back(), "QUIT");
}

TEST_F(HandsetsimScenario, OutputOfTheWrongLengthIsLoggedAsAnError) {
  runner.AddLine("device 1 1 2 out=3");
  simulator.Connected(1, 10);
  simulator.Received(10, Bytes{0x00, 0x05});
  EXPECT_TRUE(logged("OUTPUT dev=1 conn=10 00 05"));
  EXPECT_TRUE(logged("ERROR dev=1 conn=10 output report of 2 bytes, not 3"));
}

TEST_F(HandsetsimScenario, AnswersEnumerationAndIdentifiesHandlesByTheirQuery) {
  runner.AddLine("device 1 0x0c45 0x1234");
  runner.AddLine("device 2 0x0c45 0x5678 usagepage=1 usage=6");
  runner.AddLine("unplug 1");
  simulator.Connected(kControlChannel, 1);
  control(1, ListRequest(77));
  EXPECT_TRUE(logged("ENUMERATE process=77 devices=2"));
  const auto listed = ParseListReply(port.lastText(1));
  ASSERT_TRUE(listed.has_value());
  ASSERT_EQ(listed->size(), 1u);
  EXPECT_EQ(listed->front().config.usage, 6);

  // The query reached the device pipe before the question.
  simulator.Connected(2, 5);
  simulator.Received(5, QueryMessage(111));
  EXPECT_TRUE(logged("QUERY dev=2 conn=5"));
  simulator.Connected(kControlChannel, 2);
  control(2, IdentifyRequest(77, 111));
  EXPECT_EQ(ParseIdentifyReply(port.lastText(2)), listed->front());

  // The question came first: the answer waits for the query.
  simulator.Connected(kControlChannel, 3);
  control(3, IdentifyRequest(77, 222));
  EXPECT_FALSE(port.sent.count(3));
  simulator.Received(5, QueryMessage(222));
  EXPECT_EQ(ParseIdentifyReply(port.lastText(3)), listed->front());

  simulator.Disconnected(5);
  EXPECT_TRUE(logged("CLOSE dev=2 conn=5 kind=query"));
  simulator.Connected(kControlChannel, 4);
  control(4, "nonsense");
  EXPECT_EQ(port.lastText(4), "error");
  EXPECT_TRUE(logged("ERROR control request nonsense"));
}

TEST_F(HandsetsimScenario, UnplugBreaksTheDeviceAndTellsTheListeners) {
  runner.AddLine("device 1 0x0c45 0x1234");
  simulator.Connected(kControlChannel, 1);
  control(1, ListenRequest(77));
  EXPECT_TRUE(logged("LISTENER process=77"));
  simulator.Connected(1, 2);
  runner.AddLine("press 1");  // offered to connection 2, not yet read
  runner.AddLine("press 2");

  runner.AddLine("unplug 1");
  EXPECT_EQ(port.stopped, std::vector<int>{1});
  EXPECT_FALSE(port.listening.count(1));
  EXPECT_TRUE(logged("UNPLUG 1"));
  EXPECT_TRUE(logged("DROP dev=1 00 00 00 02 00"));
  const auto removal = ParseDeviceEvent(port.lastText(1));
  ASSERT_TRUE(removal.has_value());
  EXPECT_EQ(removal->change, TDeviceChange::Removal);
  EXPECT_EQ(removal->device.config.number, 1);

  simulator.WriteEnded(2, false);
  simulator.Disconnected(2);
  EXPECT_TRUE(logged("DROP dev=1 00 00 00 01 00"));
  EXPECT_TRUE(logged("CLOSE dev=1 conn=2 kind=idle"));
  runner.AddLine("press 3");
  runner.AddLine("unplug 1");
  EXPECT_TRUE(logged("ERROR press 3 (device 1 is not plugged in)"));
  EXPECT_TRUE(logged("ERROR unplug 1 (device 1 is not plugged in)"));

  control(1, DeliveredNotice(1, TDeviceChange::Removal, 2));
  EXPECT_TRUE(logged("DEVICECHANGE dev=1 removal messages=2"));

  runner.AddLine("plug 1");
  EXPECT_EQ(ParseDeviceEvent(port.lastText(1))->change, TDeviceChange::Arrival);
  EXPECT_TRUE(port.listening.count(1));
  simulator.Connected(1, 3);
  runner.AddLine("press 4");
  EXPECT_EQ(readAll(3), std::vector<Bytes>{Bytes({0, 0, 0, 4, 0})});
  EXPECT_TRUE(logged("INPUT dev=1 conn=3 00 00 00 04 00"));
}

TEST_F(HandsetsimScenario, EachReportIsLoggedAsItIsQueuedBeforeAReaderTakesIt) {
  runner.AddLine("device 1 1 2");
  runner.AddLine("press 0x11");
  runner.AddLine("release");
  const std::vector<std::string> queued = {"QUEUE dev=1 00 00 00 11 00", "QUEUE dev=1 00 00 00 00 00"};
  EXPECT_EQ(std::vector<std::string>(port.lines.end() - 2, port.lines.end()), queued);
  simulator.Connected(1, 3);
  EXPECT_EQ(readAll(3), (std::vector<Bytes>{Bytes({0, 0, 0, 0x11, 0}), Bytes({0, 0, 0, 0, 0})}));
  EXPECT_TRUE(logged("INPUT dev=1 conn=3 00 00 00 11 00"));
}

TEST_F(HandsetsimScenario, EndOfInputQuitsAfterTheLastPause) {
  runner.AddLine("sleep 100");
  runner.EndOfInput();
  EXPECT_FALSE(port.quitted);
  advanceTo(port.now + 100);
  EXPECT_TRUE(port.quitted);
  EXPECT_EQ(port.lines.back(), "QUIT");
}

}  // namespace
}  // namespace handsetsim
