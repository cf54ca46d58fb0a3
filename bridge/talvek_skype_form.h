#pragma once
// The bridge between the handsets, Skype and the control panel: its state and every
// handler of the bridge window, without Windows. The window itself (bridge/win32) only
// turns messages into these calls and implements the ports.
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bridge/bridge_ports.h"
#include "common/handset_mode_values.h"
#include "handset/device_manager.h"

constexpr std::uint32_t kRingerUndetermined = 0xFFFF;

// WM_SKYPEQUERY's wParam.
enum SkypeQuery : int { kQueryCallType = 0, kQueryActiveCalls = 1 };

struct TBridgeState {
  WindowHandle SkypeWnd = 0;
  WindowHandle PanelWnd = 0;

  std::string IncomingCallId;
  std::string ActiveCallId;
  std::string OtherCallId;
  bool SeveralCalls = false;
  bool DoNotDisturb = false;
  bool Muted = false;
  bool HeldByHandset = false;
  bool IncomingPending = false;
  std::uint32_t SkypeRingerIsHandset = kRingerUndetermined;

  // Read by the handset read threads and the mode output as well.
  std::atomic<THandsetMode> HandsetMode{THandsetMode::Standby};
  std::atomic<std::uint8_t> RingTone{0};
  std::atomic<std::int32_t> DialCount{0};
  std::atomic<std::uint32_t> LastKey{0};
  std::string DialString;

  // What was last written to the handsets; nothing yet: the next request is written whatever it is.
  std::optional<THandsetMode> LastSentMode;
  std::uint16_t LinkStatus = 0;
};

class TTalvekSkypeForm {
 public:
  TTalvekSkypeForm(IBridgePorts& ports, int windows_major_version);
  ~TTalvekSkypeForm();

  const TBridgeState& State() const { return state_; }

  // Lifecycle. The form owns the device manager from FormCreate on.
  void FormCreate(std::unique_ptr<IHandsetDeviceManager> devices);
  void FormDestroy();
  void WMEndSession();
  void HandsetChanged();

  // Skype link.
  void DiscoverSkype();
  // Returns the attach message's result: 1 when a handset is open, else 0.
  std::intptr_t OnSkypeAttach(WindowHandle skype, std::intptr_t status);
  bool SendToSkype(const std::string& text);
  // Always answers 1: no failure in handling a text reaches its sender.
  std::intptr_t WMCopyData(const void* data, std::size_t size);
  void WMSkypeQuery(std::intptr_t query, std::int32_t argument);

  // Notifications and call state.
  void HandleNotification(const std::string& text);

  // Handset keys; `key` is the key value of WM_HANDSETKEY.
  void WMHandsetKey(std::uint8_t key);
  // WM_HANDSETDIALRESET: a held Clear key empties the dial buffer before its Clear arrives.
  void WMHandsetDialReset() { EmptyDialBuffer(); }
  // Runs on a handset read thread: hands the event over to the window thread.
  void HandsetKeyCallback(const THandsetKeyEvent& event);

  // Ringer and the one-second watch.
  void SetHandsetMode(THandsetMode mode);
  void CheckTalkingTimerTimer();

  // Control panel link. Returns the attach message's result.
  std::intptr_t OnPanelAttach(WindowHandle panel, std::intptr_t status);

 private:
  int OpenHandsetCount() const;
  THandsetCallbacks HandsetCallbacks();
  std::uint16_t CurrentLinkStatus();

  // Returns true when the call rule settled the text; false lets the keyword rules look at it.
  bool HandleCallNotification(const std::vector<std::string>& words);
  void HandleKeywordNotification(const std::vector<std::string>& words);
  void HandleActiveCalls(const std::vector<std::string>& words);

  void DialKey(char c);
  void TypeIntoDialField(char c);
  void EmptyDialBuffer();
  void YesKey();
  void NoKey();
  void ClearKey();
  void ToggleHold();

  void WriteModeToHandsets(THandsetMode mode);
  void LoadRingTone();
  void StepRingTone();

  void ForwardToPanel(const std::string& text);
  // Posts a status report to a live panel; false when there is none.
  bool PostPanelReport(std::uint32_t key);

  IBridgePorts& ports_;
  const int windows_major_version_;
  std::unique_ptr<IHandsetDeviceManager> devices_;
  TBridgeState state_;
  // A forward to the panel is under way.
  bool forwarding_ = false;
};
