#pragma once
// The "Skype Sound Device" group's three lists: which devices Skype uses for call output,
// call input and ringing. The choices go to Skype through the bridge and are kept by name;
// Skype's answers are checked, and a handset device that Skype keeps answering with another
// one is sent again, then with a numbered suffix, and at last given up for the Windows
// default entry.
//
// A list's Tag holds its retries: bits 0-7 count the failed answers at the current suffix
// number, bits 8-15 hold that number N (0 = no suffix yet).
#include <functional>
#include <string>

#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "skin/tsui_controls.h"

struct TForm1State;

// The system's 8-bit code page and UTF-8, in which device names cross the bridge.
class ICodePage {
 public:
  virtual ~ICodePage() = default;
  virtual std::string AnsiToUtf8(const std::string& text) = 0;
  virtual std::string Utf8ToAnsi(const std::string& text) = 0;
};

// The window's controls that the choice drives (names as on the form).
struct TDeviceChoiceControls {
  IGroupBox& suiGroupBoxSkype;
  IComboBox& suiComboBoxSkypeOut;
  IComboBox& suiComboBoxSkypeIn;
  IComboBox& suiComboBoxSkypeRing;
};

// What the lists need of the window.
struct TDeviceChoicePorts {
  std::function<void(const std::string& text)> SendToBridge;
  // The devices behind the "Windows default sound device" entry (ReadDefaultDevices).
  std::function<TDefaultDeviceNames()> ReadDefaultDevices;
  std::function<void()> SaveSettings;
};

class TSkypeDeviceChoice {
 public:
  // Works on the window's state: the saved names, FResyncPending, FOsKind, FHandsetPattern.
  TSkypeDeviceChoice(TForm1State& state, const TDeviceChoiceControls& controls, IWaveDevices& devices,
                     ICodePage& code_page, TDeviceChoicePorts ports);

  // Rebuilds the three lists (item 0 selected) and asks Skype for its devices.
  void FillDeviceLists();
  // At a status report: while FResyncPending is set, selects and sends the saved choices.
  void ApplySavedDevices();
  void SendDeviceChoice(IComboBox& combo_box);
  void RememberDeviceChoice(IComboBox& combo_box);
  // An answer relayed from Skype for this list's kind.
  void HandleDeviceReply(const std::string& text, IComboBox& combo_box);
  // OnChange of all three lists: the user's choice.
  void suiComboBoxSkypeOutChange(IComboBox& sender);

 private:
  enum class TKind { Output, Input, Ringer };
  TKind KindOf(const IComboBox& combo_box) const;
  std::string& SavedName(TKind kind);
  // The device the "Windows default sound device" entry stands for.
  std::string WindowsDefaultName(TKind kind);

  TForm1State& state_;
  TDeviceChoiceControls controls_;
  IWaveDevices& devices_;
  ICodePage& code_page_;
  TDeviceChoicePorts ports_;
};
