#pragma once
// Test doubles for the panel logic: the ports write what the panel did into a journal, the
// controls keep their properties like the themed controls do, and a fixture builds and
// starts the window.
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "common/copydata_text.h"
#include "fake_audio.h"
#include "fake_endpoints.h"
#include "panel/endpoint_volume_backend.h"
#include "panel/mixer_volume_backend.h"
#include "panel/panel_form.h"
#include "skin/track_bar_position.h"

using Lines = std::vector<std::string>;

struct PanelJournal {
  Lines lines;
  void Add(std::string line) { lines.push_back(std::move(line)); }
  Lines With(const std::string& prefix) const {
    Lines out;
    for (const auto& line : lines) {
      if (line.rfind(prefix, 0) == 0) out.push_back(line);
    }
    return out;
  }
  void Clear() { lines.clear(); }
};

class FakePanelPorts final : public IPanelPorts {
 public:
  static constexpr WindowHandle kPanel = 0x500;
  static constexpr WindowHandle kBroadcast = 0xFFFF;  // HWND_BROADCAST

  explicit FakePanelPorts(PanelJournal& journal) : journal_(journal) {}

  TScreenPoint cursor{100, 200};
  int tray_index = -1;
  std::string tray_hint;
  std::string grey_groups_note;
  bool main_window_visible = false;
  std::map<TPanelTimer, bool> timers;
  // What the last WM_COPYDATA carried, byte for byte.
  std::vector<char> last_copy_data;

  void ReplyToSender() override { journal_.Add("REPLY"); }
  void AnnounceToBridges() override { journal_.Add("SEND " + Attach(kBroadcast, kPanel, 0x8001)); }
  void AnswerDiscovery(WindowHandle bridge) override { journal_.Add("POST " + Attach(bridge, kPanel, 0)); }
  void SayFarewell(WindowHandle bridge) override { journal_.Add("SEND " + Attach(bridge, 0, 0)); }
  void SendTextBounded(WindowHandle to, const std::string& text) override {
    // What WM_COPYDATA carries, as the window's sender builds it.
    last_copy_data = copydata::PayloadFor(text);
    journal_.Add("COPYDATA " + Hex(to) + " " + text);
  }
  void StartTimer(TPanelTimer timer) override { timers[timer] = true; }
  void StopTimer(TPanelTimer timer) override { timers[timer] = false; }
  void SetTrayIconIndex(int index) override { tray_index = index; }
  void ShowLinkState(const std::string& hint, const std::string& note) override {
    tray_hint = hint;
    grey_groups_note = note;
    journal_.Add("LINK STATE");
  }
  TScreenPoint CursorPos() override { return cursor; }
  void PopupTrayMenu(TScreenPoint at) override {
    journal_.Add("MENU " + std::to_string(at.x) + "," + std::to_string(at.y));
  }
  void ShowMainWindow() override {
    main_window_visible = true;
    journal_.Add("SHOW");
  }
  void HideMainWindow() override {
    main_window_visible = false;
    journal_.Add("HIDE");
  }
  void ForceForeground() override { journal_.Add("FOREGROUND"); }
  void CloseMainWindow() override { journal_.Add("CLOSE"); }
  void TerminateApplication() override { journal_.Add("TERMINATE"); }
  void SetFormProperty() override { journal_.Add("PROPERTY SET"); }
  void RemoveFormProperty() override { journal_.Add("PROPERTY REMOVED"); }
  void ApplyUiTexts() override { journal_.Add("TEXTS"); }
  void StartSoundControlPanel(std::uint8_t os_kind) override {
    journal_.Add("SOUND PANEL " + std::to_string(os_kind));
  }

  bool Running(TPanelTimer timer) { return timers[timer]; }

  static std::string Hex(std::uintptr_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%#llx", static_cast<unsigned long long>(value));
    return text;
  }

 private:
  // The attach message as the journal shows it: to, wParam, lParam.
  static std::string Attach(WindowHandle to, std::uintptr_t wparam, std::uintptr_t lparam) {
    return Hex(to) + " ATTACH " + Hex(wparam) + " " + Hex(lparam);
  }

  PanelJournal& journal_;
};

// The properties every control has, on top of the control's own interface.
template <class Interface>
class FakeControl : public Interface {
 public:
  bool Enabled() const override { return enabled_; }
  void SetEnabled(bool enabled) override { enabled_ = enabled; }
  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }

 private:
  bool enabled_ = true;
  bool visible_ = true;
};

class FakeLabel final : public FakeControl<IControl> {};
class FakeGroupBox final : public FakeControl<IGroupBox> {};

class FakeButton final : public FakeControl<IButton> {
 public:
  void SetOnClick(TNotifyEvent handler) override { on_click = std::move(handler); }
  TNotifyEvent on_click;
};

class FakeTrackBar final : public FakeControl<ITrackBar> {
 public:
  // As the form sets up its volume track bars.
  FakeTrackBar() { range_.SetMax(kHandsetVolumeMax); }
  int Position() const override { return range_.Position(); }
  void SetPosition(int position) override { Changed(range_.SetPosition(position)); }
  int Min() const override { return range_.Min(); }
  int Max() const override { return range_.Max(); }
  void SetMin(int min) override { Changed(range_.SetMin(min)); }
  void SetMax(int max) override { Changed(range_.SetMax(max)); }
  int PageSize() const override { return kHandsetVolumeStep; }
  bool ShowTick() const override { return show_tick_; }
  void SetShowTick(bool show) override { show_tick_ = show; }
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }

  int changes = 0;

 private:
  void Changed(bool moved) {
    if (!moved) return;
    ++changes;
    if (on_change_) on_change_();
  }
  TTrackBarPosition range_;
  bool show_tick_ = false;
  TNotifyEvent on_change_;
};

class FakeCheckBox final : public FakeControl<ICheckBox> {
 public:
  bool Checked() const override { return checked_; }
  void SetChecked(bool checked) override {
    if (checked == checked_) return;
    checked_ = checked;
    if (on_click_) on_click_();
  }
  void SetOnClick(TNotifyEvent handler) override { on_click_ = std::move(handler); }

 private:
  bool checked_ = false;
  TNotifyEvent on_click_;
};

class FakeComboBox final : public FakeControl<IComboBox> {
 public:
  void ClearItems() override {
    items.clear();
    index_ = -1;
  }
  void AddItem(const std::string& text) override { items.push_back(text); }
  int ItemCount() const override { return static_cast<int>(items.size()); }
  int IndexOf(const std::string& text) const override {
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == text) return static_cast<int>(i);
    }
    return -1;
  }
  int ItemIndex() const override { return index_; }
  void SetItemIndex(int index) override { index_ = index >= 0 && index < ItemCount() ? index : -1; }
  std::string Text() const override { return index_ < 0 ? std::string() : items[index_]; }
  std::int32_t Tag() const override { return tag_; }
  void SetTag(std::int32_t tag) override { tag_ = tag; }
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }
  // The user picks an entry.
  void Choose(int index) {
    SetItemIndex(index);
    if (on_change_) on_change_();
  }

  Lines items;

 private:
  int index_ = -1;
  std::int32_t tag_ = 0;
  TNotifyEvent on_change_;
};

class FakePageControl final : public IPageControl {
 public:
  int ActivePageIndex() const override { return index_; }
  void SetActivePageIndex(int index) override {
    index_ = index;
    if (on_change_) on_change_();
  }
  void SetOnChange(TNotifyEvent handler) override { on_change_ = std::move(handler); }

 private:
  int index_ = 0;
  TNotifyEvent on_change_;
};

class FakeSettingsFile final : public ISettingsFile {
 public:
  explicit FakeSettingsFile(PanelJournal& journal) : journal_(journal) {}
  TPanelSettings stored;
  void Load(TPanelSettings& settings) override {
    settings = stored;
    journal_.Add("SETTINGS LOAD");
  }
  void Save(const TPanelSettings& settings) override {
    stored = settings;
    journal_.Add("SETTINGS SAVE");
  }

 private:
  PanelJournal& journal_;
};

// A code page of one non-ASCII character, "\xE4" (UTF-8 "\xC3\xA4"): enough to see that
// names are converted both ways.
class FakeCodePage final : public ICodePage {
 public:
  int conversions = 0;
  std::string AnsiToUtf8(const std::string& text) override { return Replace(text, "\xE4", "\xC3\xA4"); }
  std::string Utf8ToAnsi(const std::string& text) override { return Replace(text, "\xC3\xA4", "\xE4"); }

 private:
  std::string Replace(std::string text, const std::string& from, const std::string& to) {
    ++conversions;
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
      text.replace(at, from.size(), to);
    }
    return text;
  }
};

// The window's audio side: a machine without mixers, wave devices or endpoints unless a test
// adds them. The handset's volume goes through the mixer (2000 and XP) or, `over_endpoints`,
// through the endpoints (Vista and later).
struct FakePanelAudio {
  explicit FakePanelAudio(bool over_endpoints = false) : over_endpoints(over_endpoints) {}

  AudioLines journal;
  FakeMixerPort port{journal};
  FakeWaveDevices devices;
  FakeDefaultDeviceRegistry registry{journal};
  FakeCodePage code_page;
  TAudioMixer mixer{port};
  TMixerVolumeBackend handset_volume{mixer, devices};
  FakeEndpointPort endpoints;
  // What the window does when the endpoint backend asks it to look again.
  std::function<void()> endpoints_changed;
  TEndpointVolumeBackend endpoint_volume{endpoints, "USB", [this] {
                                           if (endpoints_changed) endpoints_changed();
                                         }};
  const bool over_endpoints;

  TPanelAudio Refs() {
    IVolumeBackend& backend = over_endpoints ? static_cast<IVolumeBackend&>(endpoint_volume) : handset_volume;
    return {backend, devices, registry, code_page};
  }
};

struct FakePanelControls {
  FakePageControl page_control;
  FakeButton default_button;
  FakeGroupBox volume_group;
  FakeLabel label_vol_out;
  FakeLabel label_vol_in;
  FakeTrackBar speaker;
  FakeTrackBar microphone;
  FakeCheckBox speaker_mute;
  FakeCheckBox microphone_mute;
  FakeGroupBox skype_group;
  FakeComboBox skype_out;
  FakeComboBox skype_in;
  FakeComboBox skype_ring;

  TPanelControls Refs() {
    return {page_control,
            default_button,
            {volume_group, label_vol_out, label_vol_in, speaker, microphone, speaker_mute, microphone_mute},
            {skype_group, skype_out, skype_in, skype_ring}};
  }
};

// A panel built and created as at a start without switches, its journal emptied.
struct PanelFixture {
  static constexpr WindowHandle kBridge = 0x100;

  explicit PanelFixture(std::uint8_t os_kind = 2, TStartSwitch start_switch = TStartSwitch::None,
                        bool over_endpoints = false)
      : ports(journal), settings(journal), audio(over_endpoints),
        form(ports, settings, controls.Refs(), audio.Refs(), os_kind) {
    // The form's event wiring, as the window makes it.
    controls.page_control.SetOnChange([this] { form.suiPageControl1Change(); });
    controls.speaker.SetOnChange([this] { form.suiTrackBarVolOutChange(); });
    controls.speaker_mute.SetOnClick([this] { form.suiTrackBarVolOutChange(); });
    controls.microphone.SetOnChange([this] { form.suiTrackBarVolInChange(); });
    controls.microphone_mute.SetOnClick([this] { form.suiTrackBarVolInChange(); });
    controls.default_button.SetOnClick([this] { form.suiButtonDefaultClick(); });
    for (FakeComboBox* list : {&controls.skype_out, &controls.skype_in, &controls.skype_ring}) {
      list->SetOnChange([this, list] { form.suiComboBoxSkypeOutChange(*list); });
    }
    form.Construct();
    form.FormCreate(start_switch);
    journal.Clear();
  }

  bool CopyData(const void* data, std::uint32_t size) { return form.WMCopyData(data, size); }
  bool Answer(const std::string& text) { return CopyData(text.c_str(), static_cast<std::uint32_t>(text.size() + 1)); }
  void Discover(WindowHandle bridge = kBridge) { form.WMPanelDiscover(bridge); }
  void Report(std::uint32_t link_status, std::uint8_t mode = 0, std::uint8_t key = 0xFF) {
    form.WMBridgeStatus(link_status, (std::uint32_t{mode} << 24) | key);
  }
  // A bridge discovered and its report delivered; the journal emptied.
  void Link(std::uint32_t link_status) {
    Discover();
    Report(link_status);
    journal.Clear();
  }
  const TPanelFormState& state() const { return form.State(); }

  PanelJournal journal;
  FakePanelPorts ports;
  FakeSettingsFile settings;
  FakePanelControls controls;
  FakePanelAudio audio;
  TPanelForm form;
};
