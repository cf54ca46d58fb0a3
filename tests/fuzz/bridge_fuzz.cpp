// Drives the bridge logic with arbitrary texts, keys, ticks and link changes, checking after
// every step what a fault would break: bounded state, valid modes, and only known commands
// going to Skype.
//
// Input: two bytes choosing the number of handsets and the Windows version, then a sequence of
// operations; each starts with one byte choosing the operation, followed by its arguments.
// Texts run up to the next zero byte (or the end of the input).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "tests/unit/fake_bridge_ports.h"

namespace {

// Posted queries that the message loop would hold; more than this means something posts in a loop.
constexpr std::size_t kMaxQueuedQueries = 64;

class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Done() const { return pos_ >= size_; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  std::int32_t Int32() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = (v << 8) | Byte();
    return static_cast<std::int32_t>(v);
  }
  std::string Text() {
    std::string text;
    while (pos_ < size_ && data_[pos_] != 0) text.push_back(static_cast<char>(data_[pos_++]));
    if (pos_ < size_) ++pos_;  // the separator
    return text;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

[[noreturn]] void Fail(const char* what, const std::string& detail) {
  std::fprintf(stderr, "invariant broken: %s: %s\n", what, detail.c_str());
  std::abort();
}

bool IsMode(unsigned mode) { return mode == 0 || mode == 1 || mode == 2 || mode == 4 || mode == 6; }

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

bool IsDecimal(const std::string& text) {
  std::size_t i = (!text.empty() && text[0] == '-') ? 1 : 0;
  if (i == text.size()) return false;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
  }
  return true;
}

// The complete set of commands the bridge may send to Skype.
bool IsKnownSkypeCommand(const std::string& command, const TBridgeState& state) {
  static const char* const kExact[] = {
      "SEARCH ACTIVECALLS", "GET MUTE", "GET USERSTATUS", "GET RINGER", "FOCUS", "MINIMIZE",
      "SET MUTE ON", "SET MUTE OFF", "GET AUDIO_OUT", "GET AUDIO_IN", "btn_released up",
      "btn_released down", "btn_released yes", "btn_released no", "btn_released skype",
      "btn_released +", "btn_released *", "btn_released #"};
  for (const char* exact : kExact) {
    if (command == exact) return true;
  }
  if (command.size() == 14 && StartsWith(command, "btn_released ") && command[13] >= '0' &&
      command[13] <= '9') {
    return true;
  }
  if (StartsWith(command, "GET CALL ") && command.size() > 14 &&
      command.compare(command.size() - 5, 5, " TYPE") == 0) {
    return IsDecimal(command.substr(9, command.size() - 14));
  }
  for (const char* relayed : {"SET AUDIO_OUT ", "SET AUDIO_IN ", "SET RINGER "}) {
    if (StartsWith(command, relayed)) return command.size() <= 255;
  }
  for (const std::string* id : {&state.ActiveCallId, &state.IncomingCallId, &state.OtherCallId}) {
    const std::string prefix = "SET CALL " + *id + " ";
    if (!StartsWith(command, prefix)) continue;
    const std::string rest = command.substr(prefix.size());
    if (rest == "STATUS INPROGRESS" || rest == "STATUS ONHOLD" || rest == "STATUS FINISHED") return true;
    if (rest.size() == 6 && StartsWith(rest, "DTMF ") &&
        (rest[5] == '*' || rest[5] == '#' || (rest[5] >= '0' && rest[5] <= '9'))) {
      return true;
    }
  }
  return false;
}

void CheckJournal(const Journal& journal, const TBridgeState& state) {
  const std::vector<std::string>& lines = journal.lines;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (StartsWith(line, "SKYPE ")) {
      if (!IsKnownSkypeCommand(line.substr(6), state)) Fail("unknown command to Skype", line);
    } else if (StartsWith(line, "MODE ")) {
      unsigned mode = 0, tone = 0;
      if (std::sscanf(line.c_str(), "MODE %u %x", &mode, &tone) != 2 || !IsMode(mode)) {
        Fail("mode written", line);
      }
      // The two signalling modes always go out as a pair.
      if (mode == 1 || mode == 4) {
        if (i + 1 >= lines.size() || lines[i + 1] != line) Fail("single signalling write", line);
        ++i;
      }
    } else if (StartsWith(line, "STATUS ")) {
      unsigned link = 0, report = 0;
      if (std::sscanf(line.c_str(), "STATUS %x %x", &link, &report) != 2) Fail("report", line);
      if (link != 0 && link != 1 && link != 0x100 && link != 0x101) Fail("link status", line);
      if ((report & 0x00FFFF00u) != 0 || !IsMode(report >> 24)) Fail("report word", line);
    } else if (StartsWith(line, "PANEL ")) {
      if (!StartsWith(line, "PANEL AUDIO") && !StartsWith(line, "PANEL RINGER")) Fail("forwarded", line);
    }
  }
}

void CheckState(const TBridgeState& state, std::size_t longest_text) {
  const std::size_t dialled = state.DialString.size();
  if (dialled > 20 || static_cast<std::int64_t>(dialled) != state.DialCount) {
    Fail("dial buffer", state.DialString + " / " + std::to_string(state.DialCount));
  }
  for (const std::string* id : {&state.ActiveCallId, &state.IncomingCallId, &state.OtherCallId}) {
    if (id->size() > longest_text) Fail("call id longer than any text", *id);
  }
  const THandsetMode mode = state.HandsetMode;
  if (!IsMode(ModeByte(mode))) Fail("HandsetMode", std::to_string(ModeByte(mode)));
  if (state.LastSentMode && !IsMode(ModeByte(*state.LastSentMode))) {
    Fail("LastSentMode", std::to_string(ModeByte(*state.LastSentMode)));
  }
  if (state.SkypeRingerIsHandset != 0 && state.SkypeRingerIsHandset != 1 &&
      state.SkypeRingerIsHandset != kRingerUndetermined) {
    Fail("SkypeRingerIsHandset", std::to_string(state.SkypeRingerIsHandset));
  }
  const std::uint16_t link = state.LinkStatus;
  if (link != 0 && link != 1 && link != 0x100 && link != 0x101) Fail("LinkStatus", std::to_string(link));
}

// Texts that get the parser past its first words quickly; the fuzzed text follows.
const char* const kTextStarts[] = {
    "CALL ", "CALL 1201 STATUS ", "CALL 1201 TYPE ", "CALL 1202 ", "CALLS ", "CALLS 1201, ",
    "MUTE ", "USERSTATUS ", "RINGER ", "RINGER USB ", "AUDIO_OUT ", "AUDIO_IN ", "!", "!GET ",
    "!SET AUDIO_OUT ", "!SET RINGER ", "call ", "calls ",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  BridgeFixture bridge(/*handsets=*/in.Byte() % 3, /*windows_major=*/5 + in.Byte() % 6);
  std::size_t longest_text = 0;

  while (!in.Done()) {
    const std::size_t queued_before = bridge.ports.queries.size();
    bool one_post_at_most = true;
    switch (in.Byte() % 12) {
      case 0: {  // a text by WM_COPYDATA, with its zero byte
        const std::string text = in.Text();
        longest_text = std::max(longest_text, text.size());
        bridge.form.WMCopyData(text.c_str(), text.size() + 1);
        break;
      }
      case 1: {  // a text whose sender left out the zero byte: only its size may be read
        const std::string text = in.Text();
        longest_text = std::max(longest_text, text.size());
        const std::unique_ptr<char[]> exact(new char[text.size() + 1]);
        text.copy(exact.get(), text.size());
        bridge.form.WMCopyData(text.empty() ? nullptr : exact.get(), text.size());
        break;
      }
      case 2: {  // a text with a known start
        const std::string start = kTextStarts[in.Byte() % (sizeof kTextStarts / sizeof *kTextStarts)];
        const std::string text = start + in.Text();
        longest_text = std::max(longest_text, text.size());
        bridge.form.WMCopyData(text.c_str(), text.size() + 1);
        break;
      }
      case 3:
        bridge.Key(in.Byte());
        break;
      case 4: {  // what a read thread does: the key as read, then an event or a dial reset
        const std::uint8_t read = in.Byte();
        const std::uint8_t posted = in.Byte();
        if (const auto& thread = bridge.devices->read_thread; thread.store_last_key) {
          thread.store_last_key(read);
        }
        if (posted == 0xFF) {
          bridge.form.WMHandsetDialReset();
        } else {
          bridge.Key(posted);
        }
        break;
      }
      case 5:
        bridge.form.CheckTalkingTimerTimer();
        break;
      case 6:
        bridge.DeliverQueries();
        one_post_at_most = false;
        break;
      case 7: {
        const std::uint8_t which = in.Byte();
        const std::intptr_t status = which % 3 == 0 ? 0 : which % 3 == 1 ? 0x8001 : which;
        if (which & 0x80) {
          bridge.form.OnPanelAttach((which & 0x40) ? 0 : FakeBridgePorts::kPanel, status);
        } else {
          bridge.form.OnSkypeAttach(FakeBridgePorts::kSkype, status);
        }
        break;
      }
      case 8:
        bridge.devices->SetCount(in.Byte() % 4);
        break;
      case 9: {  // windows come and go, Skype refuses, the registry fails
        const std::uint8_t flags = in.Byte();
        bridge.ports.live_windows.clear();
        if (flags & 1) bridge.ports.live_windows.push_back(FakeBridgePorts::kSkype);
        if (flags & 2) bridge.ports.live_windows.push_back(FakeBridgePorts::kPanel);
        bridge.ports.skype_result = (flags & 4) ? 0 : (flags & 8) ? 2 : 1;
        bridge.ports.registry.can_open = (flags & 16) == 0;
        if (flags & 32) bridge.ports.registry.values.erase("RingTone");
        if (flags & 64) bridge.ports.registry.values["RingTone"] = static_cast<std::uint32_t>(in.Int32());
        break;
      }
      case 10: {
        const std::int32_t query = in.Byte() % 4;
        bridge.form.WMSkypeQuery(query, in.Int32());
        break;
      }
      case 11:
        bridge.form.WMEndSession();
        break;
    }

    if (one_post_at_most && bridge.ports.queries.size() > queued_before + 1) {
      Fail("more than one query posted by one message", std::to_string(bridge.ports.queries.size()));
    }
    CheckJournal(bridge.journal, bridge.state());
    CheckState(bridge.state(), longest_text);
    bridge.journal.Clear();
    if (bridge.ports.queries.size() > kMaxQueuedQueries) bridge.DeliverQueries();
    if (!bridge.ports.queries.empty() && in.Done()) bridge.DeliverQueries();
  }
  bridge.DeliverQueries();
  CheckJournal(bridge.journal, bridge.state());
  CheckState(bridge.state(), longest_text);
  if (!bridge.ports.queries.empty()) Fail("queries left after delivery", "");
  return 0;
}
