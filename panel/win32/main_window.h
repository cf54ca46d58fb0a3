#pragma once
// The panel's main window (window class "TForm1"): the Setup and About pages, the tray icon
// and its menu. It turns each message into one call of a named handler of the panel logic
// (panel/panel_form.h) and carries out the logic's requests as the logic's ports.
#include <memory>

#include "audio/win32/audio_mixer_window.h"
#include "audio/win32/default_device_registry.h"
#include "audio/win32/endpoint_volume_window.h"
#include "audio/win32/winmm_wave_devices.h"
#include "common/win32/scoped_handles.h"
#include "common/win32/window.h"
#include "common/window_messages.h"
#include "panel/endpoint_volume_backend.h"
#include "panel/mixer_volume_backend.h"
#include "panel/panel_form.h"
#include "panel/settings_file.h"
#include "panel/win32/application_window.h"
#include "panel/win32/code_page_win32.h"
#include "panel/win32/settings_file_win32.h"
#include "panel/win32/tray_icon.h"
#include "skin/win32/tlabel.h"
#include "skin/win32/tsui_button.h"
#include "skin/win32/tsui_check_box.h"
#include "skin/win32/tsui_combo_box.h"
#include "skin/win32/tsui_group_box.h"
#include "skin/win32/tsui_image_panel.h"
#include "skin/win32/tsui_page_control.h"
#include "skin/win32/tsui_popup_menu.h"
#include "skin/win32/tsui_track_bar.h"
#include "skin/win32/tsui_url_label.h"

// The registered messages the window reacts to, as the bridge keeps its own.
struct TPanelRegisteredMessages {
  UINT winmm_device_change = RegisterWindowMessageA("winmm_devicechange");
  UINT panel_discover = RegisterWindowMessageA(msg::kPanelDiscover);
  UINT panel_attach = RegisterWindowMessageA(msg::kPanelAttach);
  // Explorer (re)started: the tray icon is added again.
  UINT taskbar_created = RegisterWindowMessageA("TaskbarCreated");
};

class TMainWindow final : public TWindow, private IPanelPorts {
 public:
  explicit TMainWindow(TApplicationWindow& application);
  ~TMainWindow() override;

  // Builds the hidden window and runs its construction and OnCreate. False when it could
  // not be made, or the shell refused the tray icon (the user was told).
  bool Create(TStartSwitch start_switch);
  // Keys that work anywhere in the window (page turning, Tab between controls); true when
  // the message was used up.
  bool TranslateWindowKeys(MSG& message);

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  // Layout (main_window_layout.cpp).
  bool CreateControls();
  bool CreateSetupPage();
  bool CreateVolumeGroup();
  bool CreateSkypeGroup();
  bool CreateAboutPage();
  bool CreateTrayIcon();
  void WireEvents();
  TPanelControls FormControls();
  TPanelAudio FormAudio(IVolumeBackend& handset_volume);
  // The endpoints where Windows has them (made here), else the mixer.
  IVolumeBackend& HandsetVolumeBackend(std::uint8_t os_kind);

  // Message handlers.
  // The registered messages; false: not one of them.
  bool HandleRegisteredMessage(UINT message, WPARAM wparam, LRESULT& result);
  LRESULT WMCopyData(WPARAM wparam, LPARAM lparam);
  void WMTimer(UINT_PTR timer);
  void WMTrayIcon(LPARAM mouse_message);
  void WMClose();
  void WMDestroy();
  void WMEndSession(WPARAM ending);
  void WMActivate(WPARAM state);
  LRESULT WMEraseBkgnd(HDC dc);

  // IPanelPorts (main_window_ports.cpp).
  void ReplyToSender() override;
  void AnnounceToBridges() override;
  void AnswerDiscovery(WindowHandle bridge) override;
  void SayFarewell(WindowHandle bridge) override;
  void SendTextBounded(WindowHandle to, const std::string& text) override;
  // A bounded send of the attach message, dropped inside a message sent to the window.
  void SendAttach(HWND to, WPARAM wparam, LPARAM lparam);
  void StartTimer(TPanelTimer timer) override;
  void StopTimer(TPanelTimer timer) override;
  void SetTrayIconIndex(int index) override;
  void ShowLinkState(const std::string& tray_hint, const std::string& grey_groups_note) override;
  TScreenPoint CursorPos() override;
  void PopupTrayMenu(TScreenPoint at) override;
  void ShowMainWindow() override;
  void HideMainWindow() override;
  void ForceForeground() override;
  void CloseMainWindow() override;
  void TerminateApplication() override;
  void SetFormProperty() override;
  void RemoveFormProperty() override;
  void ApplyUiTexts() override;
  void StartSoundControlPanel(std::uint8_t os_kind) override;

  TApplicationWindow& application_;
  // The form was built and created: its OnDestroy is due at the end.
  bool created_ = false;
  const TPanelRegisteredMessages messages_;
  HWND focus_before_deactivation_ = nullptr;
  // The icons outlive the controls that show them.
  TIconHandle tray_images_[2];
  TIconHandle about_picture_;
  TIconHandle maker_icon_;

  // The form's components, by their names on the form.
  TsuiPageControl suiPageControl1;
  TsuiTabSheet suiTabSheetAudio;
  TsuiTabSheet suiTabSheetAbout;
  TsuiGroupBox suiGroupBoxVol;
  TLabel LabelVolOut;
  TLabel LabelVolIn;
  TsuiImagePanel ImageVolOutMin;
  TsuiImagePanel ImageVolOutMax;
  TsuiImagePanel ImageVolInMin;
  TsuiImagePanel ImageVolInMax;
  TsuiTrackBar suiTrackBarVolOut;
  TsuiTrackBar suiTrackBarVolIn;
  TsuiCheckBox suiCheckBoxVolOut;
  TsuiCheckBox suiCheckBoxVolIn;
  TsuiGroupBox suiGroupBoxSkype;
  TLabel LabelSkypeOut;
  TLabel LabelSkypeIn;
  TLabel LabelSkypeRing;
  TsuiComboBox suiComboBoxSkypeOut;
  TsuiComboBox suiComboBoxSkypeIn;
  TsuiComboBox suiComboBoxSkypeRing;
  TLabel LabelSysAudioOut;
  TsuiButton suiButtonSysAudioOut;
  TsuiButton suiButtonDefault;
  // On the row of the tabs: why a group of the Setup page is grey.
  TLabel LabelGreyGroups;
  TsuiGroupBox AboutCard;
  TsuiImagePanel ImageHandset;
  TsuiImagePanel ImageLogo;
  TLabel LabelProduct;
  TLabel LabelVersion;
  TsuiImagePanel ImageMaker;
  TLabel LabelMaker;
  TsuiURLLabel suiURLLabelComp;
  TsuiPopupMenu suiPopupMenuTrayIcon;
  TTrayIcon TrayIconSts;

  // The window of AudioMixerUsb (its Mixer()), and what else the form's audio side needs.
  TAudioMixerWindow audio_mixer_window_;
  TWinmmWaveDevices wave_devices_;
  TDefaultDeviceRegistry default_devices_;
  TWin32CodePage code_page_;
  // AudioMixerUsb as the handset's volume device; it lets go of the mixer when it goes.
  TMixerVolumeBackend handset_volume_{audio_mixer_window_.Mixer(), wave_devices_};
  // The audio endpoints (COM is started before this window and stopped after it); on
  // Windows 6.0 and later, where they are there, the handset's volume goes through them.
  TEndpointVolumeWindow endpoint_window_;
  std::unique_ptr<TEndpointVolumeBackend> endpoint_volume_;
  TWin32SettingsStorage settings_storage_;
  TSettingsFile settings_;
  // Last: it holds the controls above and goes first.
  std::unique_ptr<TPanelForm> form_;
};
