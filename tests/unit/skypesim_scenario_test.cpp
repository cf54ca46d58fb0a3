#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

#include "tools/simkit/line_splitter.h"
#include "tools/simkit/log_format.h"
#include "tools/simkit/numbers.h"
#include "tools/skypesim/copydata_bytes.h"
#include "tools/skypesim/scenario.h"
#include "tools/skypesim/scenario_runner.h"
#include "tools/skypesim/simulator_state.h"

namespace skypesim {
namespace {

// ---- numbers and scenario lines ----

TEST(SkypesimNumbers, ReadsDecimalHexAndNegative) {
  EXPECT_EQ(simkit::ParseInteger("0"), 0);
  EXPECT_EQ(simkit::ParseInteger("1234"), 1234);
  EXPECT_EQ(simkit::ParseInteger("-5"), -5);
  EXPECT_EQ(simkit::ParseInteger("0x8001"), 0x8001);
  EXPECT_EQ(simkit::ParseInteger("0XfF"), 255);
  EXPECT_EQ(simkit::ParseInteger("-0x10"), -16);
  EXPECT_EQ(simkit::ParseInteger("9223372036854775807"), std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(simkit::ParseInteger("-9223372036854775808"), std::numeric_limits<std::int64_t>::min());
}

TEST(SkypesimNumbers, RejectsJunkAndOverflow) {
  for (const char* word : {"", "-", "0x", "-0x", "+1", " 1", "1 ", "12a", "0x1g", "1.5", "--1", "9223372036854775808",
                           "-9223372036854775809", "0x10000000000000000"}) {
    EXPECT_FALSE(simkit::ParseInteger(word).has_value()) << '"' << word << '"';
  }
}

TCommand parsed(const std::string& line) {
  const TParsedLine result = ParseLine(line);
  EXPECT_EQ(result.kind, TLineKind::Command) << line;
  return result.command;
}

TEST(SkypesimScenario, SkipsBlankAndCommentLines) {
  for (const char* line : {"", "   ", "\t", "# attach 0", "   # notify x"}) {
    EXPECT_EQ(ParseLine(line).kind, TLineKind::Nothing) << '"' << line << '"';
  }
}

TEST(SkypesimScenario, ParsesAttachCommands) {
  const TCommand attach = parsed("  attach 0x8001 0\t3");
  EXPECT_EQ(attach.kind, TCommandKind::Attach);
  EXPECT_EQ(attach.statuses, (std::vector<std::uint32_t>{0x8001, 0, 3}));

  EXPECT_EQ(parsed("attach-all 1").status, 1u);
  const TCommand off = parsed("attach-all off");
  EXPECT_EQ(off.kind, TCommandKind::AttachAll);
  EXPECT_FALSE(off.status.has_value());

  EXPECT_EQ(parsed("announce 0xFFFFFFFF").status, 0xFFFFFFFFu);
}

TEST(SkypesimScenario, ParsesRefusals) {
  EXPECT_EQ(parsed("accept").kind, TCommandKind::Accept);
  const TCommand some = parsed("refuse 3");
  EXPECT_EQ(some.count, 3u);
  EXPECT_FALSE(some.all);
  EXPECT_TRUE(parsed("refuse all").all);
}

TEST(SkypesimScenario, KeepsTextsVerbatimAfterOneBlank) {
  EXPECT_EQ(parsed("notify USER alice ONLINESTATUS ONLINE").text, "USER alice ONLINESTATUS ONLINE");
  EXPECT_EQ(parsed("notify   two blanks kept # not a comment ").text, "  two blanks kept # not a comment ");
  EXPECT_EQ(parsed("notify").text, "");

  const TCommand raw = parsed("copydata 5 hello world");
  EXPECT_EQ(raw.size, 5u);
  EXPECT_EQ(raw.text, "hello world");
  EXPECT_EQ(parsed("copydata 0").size, 0u);
  EXPECT_EQ(parsed("copydata-big 1048576").size, 1048576u);
}

TEST(SkypesimScenario, ParsesAnswersWithBlanksInPatternAndReply) {
  const TCommand answer = parsed("answer  GET USERSTATUS =>  USERSTATUS ONLINE");
  EXPECT_EQ(answer.pattern, "GET USERSTATUS");
  EXPECT_EQ(answer.text, " USERSTATUS ONLINE");
  const TCommand removal = parsed("answer SEARCH * =>");
  EXPECT_EQ(removal.pattern, "SEARCH *");
  EXPECT_EQ(removal.text, "");
}

TEST(SkypesimScenario, ParsesMessages) {
  const TCommand post = parsed("post 0x0400 -1 -5");
  EXPECT_EQ(post.kind, TCommandKind::Post);
  EXPECT_EQ(post.message, 0x400u);
  EXPECT_EQ(post.wparam, -1);
  EXPECT_EQ(post.lparam, -5);
  EXPECT_EQ(parsed("send 16 0 0x7fffffffffffffff").lparam, std::numeric_limits<std::int64_t>::max());
}

TEST(SkypesimScenario, ParsesWaitsWithOptionalTimeout) {
  const TCommand plain = parsed("wait-cmd NAME *");
  EXPECT_EQ(plain.pattern, "NAME *");
  EXPECT_EQ(plain.milliseconds, kDefaultWaitMs);

  const TCommand timed = parsed("wait-cmd timeout=2500 SET USERSTATUS ONLINE");
  EXPECT_EQ(timed.pattern, "SET USERSTATUS ONLINE");
  EXPECT_EQ(timed.milliseconds, 2500u);

  // A command that ends in a number is all pattern.
  const TCommand number = parsed("wait-cmd SET CALL 1201 DTMF 5");
  EXPECT_EQ(number.pattern, "SET CALL 1201 DTMF 5");
  EXPECT_EQ(number.milliseconds, kDefaultWaitMs);

  EXPECT_EQ(parsed("wait-discover").milliseconds, kDefaultWaitMs);
  EXPECT_EQ(parsed("wait-discover 0x100").milliseconds, 256u);
  EXPECT_EQ(parsed("sleep 0").kind, TCommandKind::Sleep);
  EXPECT_EQ(parsed("freeze 6000").milliseconds, 6000u);
}

TEST(SkypesimScenario, RejectsUnknownKeywordsAndBadArguments) {
  for (const char* line : {"launch",
                           "Attach 0",
                           "attach",
                           "attach -1",
                           "attach 0x100000000",
                           "attach 0 x",
                           "attach-all",
                           "attach-all on",
                           "attach-all 1 2",
                           "announce",
                           "accept now",
                           "refuse",
                           "refuse some",
                           "refuse -1",
                           "answer GET",
                           "answer => X",
                           "copydata",
                           "copydata x abc",
                           "copydata -1",
                           "copydata 67108865",
                           "copydata-big",
                           "copydata-big 5 6",
                           "post 1 2",
                           "post 1 2 3 4",
                           "send -1 0 0",
                           "send 0x100000000 0 0",
                           "post 1 x 0",
                           "sleep",
                           "sleep -1",
                           "sleep 2147483648",
                           "freeze x",
                           "wait-cmd",
                           "wait-cmd timeout=-5 X",
                           "wait-cmd timeout=5",
                           "wait-discover 1 2",
                           "quit now"}) {
    EXPECT_EQ(ParseLine(line).kind, TLineKind::Invalid) << line;
  }
}

// ---- what the simulator remembers ----

TEST(SkypesimState, AttachQueueComesBeforeAttachAll) {
  TSimulatorState state;
  EXPECT_FALSE(state.TakeAttachStatus().has_value());  // discoveries are ignored by default

  state.SetAttachAll(0u);
  state.QueueAttach({0x8001, 3});
  state.QueueAttach({2});
  EXPECT_EQ(state.TakeAttachStatus(), 0x8001u);
  EXPECT_EQ(state.TakeAttachStatus(), 3u);
  EXPECT_EQ(state.TakeAttachStatus(), 2u);
  EXPECT_EQ(state.TakeAttachStatus(), 0u);
  EXPECT_EQ(state.TakeAttachStatus(), 0u);

  state.SetAttachAll(std::nullopt);
  EXPECT_FALSE(state.TakeAttachStatus().has_value());
}

TEST(SkypesimState, RefusesCountedCommandsThenAcceptsAgain) {
  TSimulatorState state;
  EXPECT_TRUE(state.TakeAcceptance());
  state.RefuseNext(2);
  EXPECT_FALSE(state.TakeAcceptance());
  EXPECT_FALSE(state.TakeAcceptance());
  EXPECT_TRUE(state.TakeAcceptance());

  state.RefuseAll();
  for (int i = 0; i < 5; ++i) EXPECT_FALSE(state.TakeAcceptance());
  state.AcceptAll();
  EXPECT_TRUE(state.TakeAcceptance());

  state.RefuseNext(3);
  state.AcceptAll();  // also cancels a count
  EXPECT_TRUE(state.TakeAcceptance());
  state.RefuseAll();
  state.RefuseNext(1);  // a count replaces "all"
  EXPECT_FALSE(state.TakeAcceptance());
  EXPECT_TRUE(state.TakeAcceptance());
}

TEST(SkypesimState, AnswersAreReplacedRemovedAndTheClosestPatternWins) {
  TSimulatorState state;
  state.SetAnswer("GET USERSTATUS", "USERSTATUS AWAY");
  state.SetAnswer("GET USERSTATUS", "USERSTATUS ONLINE");
  EXPECT_EQ(state.AnswerFor("GET USERSTATUS"), "USERSTATUS ONLINE");
  EXPECT_FALSE(state.AnswerFor("GET USERSTATUS ").has_value());
  EXPECT_FALSE(state.AnswerFor("GET USER").has_value());

  state.SetAnswer("GET *", "ERROR 7");
  state.SetAnswer("GET CALL *", "CALL 1 STATUS RINGING");
  EXPECT_EQ(state.AnswerFor("GET CALL 1 STATUS"), "CALL 1 STATUS RINGING");
  EXPECT_EQ(state.AnswerFor("GET CURRENTUSERHANDLE"), "ERROR 7");
  EXPECT_EQ(state.AnswerFor("GET USERSTATUS"), "USERSTATUS ONLINE");
  EXPECT_FALSE(state.AnswerFor("SET USERSTATUS ONLINE").has_value());

  state.SetAnswer("GET USERSTATUS", "");
  EXPECT_EQ(state.AnswerFor("GET USERSTATUS"), "ERROR 7");
  state.SetAnswer("*", "OK");
  EXPECT_EQ(state.AnswerFor("ANYTHING"), "OK");
  EXPECT_EQ(state.AnswerFor(""), "OK");
  EXPECT_EQ(state.AnswerFor("GET X"), "ERROR 7");
}

TEST(SkypesimState, StarOnlyCountsAtTheEnd) {
  TSimulatorState state;
  state.SetAnswer("A*B", "literal");
  EXPECT_FALSE(state.AnswerFor("AxB").has_value());
  EXPECT_EQ(state.AnswerFor("A*B"), "literal");
}

TEST(SkypesimState, WaitCursorCountsEarlierCommandsOnce) {
  TSimulatorState state;
  state.RecordCommand("NAME PhoneThing");
  state.RecordCommand("PROTOCOL 5");
  state.RecordCommand("GET USERSTATUS");

  EXPECT_TRUE(state.ConsumeCommand("PROTOCOL *"));   // arrived before the wait
  EXPECT_FALSE(state.ConsumeCommand("NAME *"));      // passed over by the earlier wait
  EXPECT_FALSE(state.ConsumeCommand("PROTOCOL *"));  // already consumed
  EXPECT_FALSE(state.ConsumeCommand("SET *"));       // a failed wait moves nothing on
  EXPECT_TRUE(state.ConsumeCommand("GET USERSTATUS"));
  EXPECT_FALSE(state.ConsumeCommand("GET USERSTATUS"));

  state.RecordCommand("GET USERSTATUS");
  EXPECT_TRUE(state.ConsumeCommand("GET USERSTATUS"));
}

TEST(SkypesimState, EachDiscoverySatisfiesOneWait) {
  TSimulatorState state;
  EXPECT_FALSE(state.ConsumeDiscovery());
  state.RecordDiscovery();
  state.RecordDiscovery();
  EXPECT_TRUE(state.ConsumeDiscovery());
  EXPECT_TRUE(state.ConsumeDiscovery());
  EXPECT_FALSE(state.ConsumeDiscovery());
}

// ---- bytes and log lines ----

TEST(SkypesimBytes, ReceivedTextStopsAtZeroByteOrSize) {
  const char data[] = {'P', 'I', 'N', 'G', '\0', 'X'};
  EXPECT_EQ(ReceivedText(data, 6), "PING");
  EXPECT_EQ(ReceivedText(data, 2), "PI");  // no zero byte within the size
  EXPECT_EQ(ReceivedText(data, 0), "");
  EXPECT_EQ(ReceivedText(nullptr, 10), "");
}

TEST(SkypesimBytes, RawBytesAreCutOrPaddedWithoutZero) {
  EXPECT_EQ(RawBytes(3, "hello"), "hel");
  EXPECT_EQ(RawBytes(7, "hello"), "helloxx");
  EXPECT_EQ(RawBytes(2, ""), "xx");
  EXPECT_EQ(RawBytes(0, "hello"), "");
}

TEST(SkypesimBytes, SplitsLinesAcrossChunks) {
  simkit::TLineSplitter splitter;
  const std::string first = "attach 0\r\nnot";
  const std::string second = "ify hi\n\nquit";
  EXPECT_EQ(splitter.Feed(first.data(), first.size()), (std::vector<std::string>{"attach 0"}));
  EXPECT_EQ(splitter.Feed(second.data(), second.size()), (std::vector<std::string>{"notify hi", ""}));
  EXPECT_EQ(splitter.Finish(), (std::vector<std::string>{"quit"}));
  EXPECT_TRUE(splitter.Finish().empty());
}

TEST(SkypesimLog, AnEventWithLineBreaksStaysOnOneLine) {
  EXPECT_EQ(simkit::LogLine(12034, "CMD", "A\r\nB"), "12.034 CMD A  B\n");
}

// ---- running a scenario ----

// Records what the runner asks of the outside world; sends return what the test sets.
class FakePort : public ISimulatorPort {
 public:
  void Log(const std::string& event, const std::string& details) override {
    events.push_back(details.empty() ? event : event + ' ' + details);
  }
  TSendResult SendAttach(WindowId client, std::uint32_t status) override {
    calls.push_back("attach " + std::to_string(client) + ' ' + std::to_string(status));
    return reply;
  }
  TSendResult BroadcastAttach(std::uint32_t status) override {
    calls.push_back("broadcast attach " + std::to_string(status));
    return reply;
  }
  TSendResult SendCopyData(WindowId client, const char* data, std::size_t size) override {
    std::string bytes = data ? std::string(data, size) : "<null>";
    calls.push_back("copydata " + std::to_string(client) + ' ' + std::to_string(size) + ' ' + bytes);
    return reply;
  }
  TSendResult SendToWindow(WindowId client, std::uint32_t message, std::int64_t w, std::int64_t l) override {
    calls.push_back("send " + std::to_string(client) + ' ' + std::to_string(message) + ' ' + std::to_string(w) + ' ' +
                    std::to_string(l));
    return reply;
  }
  TSendResult PostToWindow(WindowId client, std::uint32_t message, std::int64_t w, std::int64_t l) override {
    calls.push_back("post " + std::to_string(client) + ' ' + std::to_string(message) + ' ' + std::to_string(w) + ' ' +
                    std::to_string(l));
    return reply;
  }
  void StartTimer(unsigned id, std::uint32_t ms) override {
    timer = id;
    calls.push_back("timer " + std::to_string(ms));
  }
  void StopTimer(unsigned id) override {
    if (id == timer) timer = 0;
  }
  void WakeUp() override { ++wakeUps; }
  void Freeze(std::uint32_t ms) override { calls.push_back("freeze " + std::to_string(ms)); }
  void Quit() override { ++quits; }
  void ReopenWindow() override { calls.push_back("reopen"); }

  std::vector<std::string> events;
  std::vector<std::string> calls;
  TSendResult reply{true, 1, 0};
  unsigned timer = 0;
  int wakeUps = 0;
  int quits = 0;
};

class SkypesimRunner : public ::testing::Test {
 protected:
  void play(const std::vector<std::string>& lines) {
    for (const std::string& line : lines) runner.AddLine(line);
  }
  // What the message loop does with a posted wake-up.
  void deliverWakeUps() {
    while (port.wakeUps > 0) {
      --port.wakeUps;
      runner.OnWakeUp();
    }
  }
  void fireTimer() {
    const unsigned id = port.timer;
    port.timer = 0;
    runner.OnTimer(id);
  }

  FakePort port;
  TScenarioRunner runner{port};
};

TEST_F(SkypesimRunner, AnswersDiscoveriesOnlyAfterTheBroadcastIsHandled) {
  play({"attach 0x8001 0"});
  runner.OnDiscover(0x100);
  EXPECT_TRUE(port.calls.empty());  // nothing sent while the client's broadcast is running
  deliverWakeUps();
  runner.OnDiscover(0x100);
  runner.OnDiscover(0x100);  // queue used up, attach-all off: ignored
  deliverWakeUps();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"attach 256 32769", "attach 256 0"}));
  EXPECT_EQ(port.events, (std::vector<std::string>{"DISCOVER 0x100", "ATTACH 0x8001 RESULT 1", "DISCOVER 0x100",
                                                   "DISCOVER 0x100", "ATTACH 0x0 RESULT 1"}));
}

TEST_F(SkypesimRunner, RefusedCommandsAreLoggedAndNotAnswered) {
  play({"answer PING => PONG", "refuse 1"});
  EXPECT_FALSE(runner.OnCommand(0x200, "PING"));
  deliverWakeUps();
  EXPECT_TRUE(port.calls.empty());
  EXPECT_TRUE(runner.OnCommand(0x200, "PING"));
  EXPECT_TRUE(port.calls.empty());  // the answer waits until the command's own call returned
  deliverWakeUps();
  EXPECT_EQ(port.calls, (std::vector<std::string>{std::string("copydata 512 5 PONG") + '\0'}));
  EXPECT_EQ(port.events, (std::vector<std::string>{"CMD PING", "REFUSED PING", "CMD PING", "NOTIFY PONG RESULT 1"}));
}

TEST_F(SkypesimRunner, AnswersGoToTheLastClientWhenTheSenderIsUnknown) {
  play({"attach-all 0", "answer X* => Y"});
  runner.OnDiscover(0x300);
  deliverWakeUps();
  runner.OnCommand(0, "XY");
  deliverWakeUps();
  EXPECT_EQ(port.calls.back(), std::string("copydata 768 2 Y") + '\0');
}

TEST_F(SkypesimRunner, SendsToTheClientAndLogsResults) {
  runner.OnDiscover(0x10);
  port.reply = TSendResult{false, 0, 1460};
  play({"notify", "copydata 0", "copydata 4 ab", "copydata-big 3", "announce 2", "post 1024 -1 -5", "send 16 0 7"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{std::string("copydata 16 1 ") + '\0', "copydata 16 0 <null>",
                                                  "copydata 16 4 abxx", std::string("copydata 16 4 AAA") + '\0',
                                                  "attach 16 2", "post 16 1024 -1 -5", "send 16 16 0 7"}));
  EXPECT_EQ(port.events, (std::vector<std::string>{"DISCOVER 0x10", "NOTIFY  RESULT FAILED 1460",
                                                   "COPYDATA 0 RESULT FAILED 1460", "COPYDATA 4 RESULT FAILED 1460",
                                                   "COPYDATA 4 RESULT FAILED 1460", "ATTACH 0x2 RESULT FAILED 1460",
                                                   "POST 1024 -1 -5 FAILED 1460", "SEND 16 0 7 RESULT FAILED 1460"}));
}

TEST_F(SkypesimRunner, ReportsBadLinesAndSendsWithoutClientAndGoesOn) {
  play({"bogus 1", "notify hi", "post 1 2 3", "# fine", "freeze 5"});
  EXPECT_EQ(port.events, (std::vector<std::string>{"ERROR bogus 1", "ERROR notify hi (no client window)",
                                                   "ERROR post 1 2 3 (no client window)"}));
  EXPECT_EQ(port.calls, (std::vector<std::string>{"freeze 5"}));
}

TEST_F(SkypesimRunner, WaitCmdResumesFromTheMessageLoopNotInsideTheCommand) {
  runner.OnDiscover(0x10);
  play({"wait-cmd timeout=3000 PROTOCOL *", "notify after"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{"timer 3000"}));

  runner.OnCommand(0x10, "NAME x");
  EXPECT_EQ(port.wakeUps, 0);
  runner.OnCommand(0x10, "PROTOCOL 8");
  EXPECT_EQ(port.calls.size(), 1u);  // not inside the client's call
  EXPECT_EQ(port.timer, 0u);         // the timeout is cancelled
  runner.OnTimer(1);                 // ... though it may already have been on its way
  EXPECT_EQ(port.calls.size(), 1u);
  deliverWakeUps();
  EXPECT_EQ(port.calls.back(), std::string("copydata 16 6 after") + '\0');
}

TEST_F(SkypesimRunner, WaitCmdCountsCommandsThatArrivedBefore) {
  runner.OnDiscover(0x10);
  runner.OnCommand(0x10, "NAME x");
  runner.OnCommand(0x10, "PROTOCOL 8");
  play({"wait-cmd NAME *", "wait-cmd PROTOCOL *", "notify done", "wait-cmd NAME *"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{std::string("copydata 16 5 done") + '\0', "timer 10000"}));
}

TEST_F(SkypesimRunner, WaitTimeoutIsLoggedAndTheScenarioGoesOn) {
  play({"wait-cmd timeout=50 GET *", "wait-discover 60", "quit", "notify never"});
  fireTimer();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"timer 50", "timer 60"}));
  runner.OnTimer(1);  // the first timer again, too late: ignored
  EXPECT_EQ(port.quits, 0);
  fireTimer();
  EXPECT_EQ(port.events, (std::vector<std::string>{"TIMEOUT wait-cmd GET *", "TIMEOUT wait-discover", "QUIT"}));
  EXPECT_EQ(port.quits, 1);
}

TEST_F(SkypesimRunner, WaitDiscoverUsesEachDiscoveryOnce) {
  runner.OnDiscover(0x10);
  play({"wait-discover", "wait-discover"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{"timer 10000"}));
  runner.OnDiscover(0x10);
  deliverWakeUps();
  runner.EndOfInput();
  EXPECT_EQ(port.quits, 1);
}

TEST_F(SkypesimRunner, SleepHoldsLaterLinesButNotTheAnswers) {
  play({"answer A => B", "sleep 200", "attach 1"});
  runner.EndOfInput();
  EXPECT_EQ(port.quits, 0);  // end of input waits for the lines before it
  runner.OnCommand(0x10, "A");
  deliverWakeUps();
  EXPECT_EQ(port.events.back(), "NOTIFY B RESULT 1");
  runner.OnDiscover(0x10);
  deliverWakeUps();
  EXPECT_EQ(port.calls.back(), std::string("copydata 16 2 B") + '\0');  // "attach 1" has not run yet
  fireTimer();
  EXPECT_EQ(port.events.back(), "QUIT");
  EXPECT_EQ(port.quits, 1);
}

TEST_F(SkypesimRunner, QuitStopsEverythingAfterIt) {
  play({"attach-all 0", "answer A => B", "quit", "notify never"});
  runner.OnDiscover(0x10);
  runner.OnCommand(0x10, "A");
  deliverWakeUps();
  runner.EndOfInput();
  EXPECT_TRUE(port.calls.empty());
  EXPECT_EQ(port.quits, 1);
}

TEST_F(SkypesimRunner, AnnouncesToEveryWindowBeforeAnyClientThenToTheClient) {
  play({"announce 0x8001"});
  runner.OnDiscover(0x10);
  play({"announce 0x8001"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{"broadcast attach 32769", "attach 16 32769"}));
  EXPECT_EQ(port.events,
            (std::vector<std::string>{"ANNOUNCE 0x8001 RESULT 1", "DISCOVER 0x10", "ATTACH 0x8001 RESULT 1"}));
}

TEST_F(SkypesimRunner, ReopenWaitsForTheNewWindowAndForgetsTheOldClient) {
  play({"attach-all 0", "answer PING => PONG"});
  runner.OnDiscover(0x10);
  runner.OnCommand(0x10, "PING");  // its answer is still queued when the window goes
  play({"reopen", "announce 0x8001"});
  EXPECT_EQ(port.calls, (std::vector<std::string>{"reopen"}));  // the next line waits
  deliverWakeUps();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"reopen"}));  // the old window's sends are dropped
  runner.OnReopened();
  EXPECT_EQ(port.calls, (std::vector<std::string>{"reopen", "broadcast attach 32769"}));
  runner.OnReopened();  // a stray one changes nothing
  EXPECT_EQ(port.calls.size(), 2u);
}

}  // namespace
}  // namespace skypesim
