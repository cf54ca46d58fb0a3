#pragma once
// The bridge logic's ways out: everything it does to other windows, to itself and to the
// registry goes through these, so the logic runs and is tested without Windows.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "common/registry_key.h"
#include "common/window_handle.h"

class IBridgePorts {
 public:
  virtual ~IBridgePorts() = default;

  virtual bool IsWindow(WindowHandle window) = 0;
  // True for the bridge's own window and any other window of the bridge's process.
  virtual bool BelongsToThisProcess(WindowHandle window) = 0;

  // Sends `text` by WM_COPYDATA and returns the receiver's result; 0 when the receiver did
  // not answer in time.
  virtual std::intptr_t SendToSkypeWindow(WindowHandle skype, const std::string& text) = 0;
  virtual void SendToPanelWindow(WindowHandle panel, const std::string& text) = 0;
  virtual void PostPanelStatus(WindowHandle panel, std::uint32_t link_status,
                               std::uint32_t report) = 0;

  // Broadcasts to every top-level window, with the bridge window as wParam.
  virtual void BroadcastSkypeDiscover() = 0;
  virtual void BroadcastPanelDiscover() = 0;
  // Releases the sender of the message being handled (ReplyMessage(1)).
  virtual void ReplyToSender() = 0;
  // Posts WM_SKYPEQUERY to the bridge window.
  virtual void PostSkypeQuery(int query, std::int32_t argument) = 0;
  // Post WM_HANDSETKEY / WM_HANDSETDIALRESET to the bridge window. Called on handset read threads.
  virtual void PostHandsetKey(std::uint8_t key) = 0;
  virtual void PostDialBufferReset() = 0;

  // The never-shown diagnostic line for a command Skype refused.
  virtual void NoteRefusedCommand() = 0;

  // HKCU "\Software\TALVEK\USB_PHONE_K42", created when missing; null when it cannot be opened.
  virtual std::unique_ptr<IRegistryKey> OpenSettingsKey() = 0;
};
