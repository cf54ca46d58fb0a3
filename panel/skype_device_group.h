#pragma once
// The "Skype Sound Device" group's three lists: which devices Skype uses for call output,
// call input and ringing. The choices go to Skype through the bridge and are kept by name;
// Skype's answers are checked, and a handset device that Skype keeps answering with another
// one is sent again, then with a numbered suffix, and at last given up for the Windows
// default entry.
//
// A list's Tag holds its retries: bits 0-7 count the failed answers at the current suffix
// number, bits 8-15 hold that number N (0 = no suffix yet).
#include <cstdint>
#include <string>

#include "audio/default_devices.h"
#include "audio/wave_devices.h"
#include "panel/code_page.h"
#include "panel/device_reply.h"
#include "skin/tsui_controls.h"

// The devices behind the "Windows default sound device" entry (the volume group knows them).
class IWindowsDefaultDevices {
 public:
  virtual ~IWindowsDefaultDevices() = default;
  virtual TDefaultDeviceNames DefaultDevices() = 0;
};

// The group's controls (names as on the form).
struct TSkypeDeviceControls {
  IGroupBox& suiGroupBoxSkype;
  IComboBox& suiComboBoxSkypeOut;
  IComboBox& suiComboBoxSkypeIn;
  IComboBox& suiComboBoxSkypeRing;
};

// The saved choices: a device's product name, "-1" for the "Windows default sound device"
// entry, or empty when nothing was chosen yet.
struct TSkypeDeviceNames {
  std::string SkypeOutName;
  std::string SkypeInName;
  std::string SkypeRingName;
};

// Where the group's commands for Skype go (the bridge passes them on).
class ISkypeCommands {
 public:
  virtual ~ISkypeCommands() = default;
  virtual void SendToSkype(const std::string& command) = 0;
};

class TSkypeDeviceGroup {
 public:
  TSkypeDeviceGroup(const TSkypeDeviceControls& controls, IWaveDevices& devices, ICodePage& code_page,
                    IWindowsDefaultDevices& windows_defaults, ISkypeCommands& skype, std::uint8_t os_kind,
                    std::string handset_pattern);

  const TSkypeDeviceNames& SavedNames() const { return saved_; }
  void Load(const TSkypeDeviceNames& names) { saved_ = names; }
  // The handset's devices, found by a search, for the lists that have no choice yet: calls
  // on the handset, ringing on the Windows default. Empty names change nothing.
  void DefaultToHandset(const std::string& output, const std::string& input);
  // "Default": the handset's devices for calls and the Windows default for ringing.
  void ChooseHandset(const std::string& output, const std::string& input);

  bool Enabled() const { return controls_.suiGroupBoxSkype.Enabled(); }
  // The group on while Skype is attached, off otherwise; a change rebuilds the lists.
  void Enable(bool attached);
  // Rebuilds the three lists (item 0 selected) and asks Skype for its devices.
  void FillDeviceLists();
  // Asks Skype which devices it uses now.
  void RequestDevices();

  // The saved choices are to be selected and sent again at the next status report.
  void RequestResync() { resync_pending_ = true; }
  bool ResyncPending() const { return resync_pending_; }
  // At a status report: while a resync is pending, selects and sends the saved choices.
  void ApplySavedDevices();
  void SendDeviceChoice(IComboBox& combo_box);
  // Every list's retries start afresh.
  void ResetRetries();
  // An answer relayed from Skype for a list.
  void HandleDeviceReply(const std::string& text, TDeviceKind kind);
  // OnChange of all three lists: the user's choice.
  void suiComboBoxSkypeOutChange(IComboBox& sender);

 private:
  IComboBox& ComboBoxFor(TDeviceKind kind);
  TDeviceKind KindOf(const IComboBox& combo_box) const;
  std::string& SavedName(TDeviceKind kind);
  void RememberDeviceChoice(IComboBox& combo_box);
  // The device the "Windows default sound device" entry stands for.
  std::string WindowsDefaultName(TDeviceKind kind);

  TSkypeDeviceControls controls_;
  IWaveDevices& devices_;
  ICodePage& code_page_;
  IWindowsDefaultDevices& windows_defaults_;
  ISkypeCommands& skype_;
  const std::uint8_t os_kind_;
  const std::string handset_pattern_;
  TSkypeDeviceNames saved_;
  // Sent again at the next status report: at the start, when the lists were refilled, the
  // handset's devices found, the window shown, "Default" pressed, or Skype answered wrong.
  bool resync_pending_ = true;
};
