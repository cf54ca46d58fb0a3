#include "audio/win32/audio_mixer_window.h"

namespace {
constexpr char kClassName[] = "TAudioMixerNotify";
}  // namespace

TAudioMixerWindow::TAudioMixerWindow() {
  CreateArgs args;
  args.class_name = kClassName;
  // A message-only window: it only ever receives the mixer's posted notices.
  args.parent = HWND_MESSAGE;
  Create(args);
  port_ = std::make_unique<TWinmmMixerPort>(Handle());
  mixer_ = std::make_unique<TAudioMixer>(*port_);
}

TAudioMixerWindow::~TAudioMixerWindow() {
  // The mixer closes before its notices' window goes.
  mixer_.reset();
  Destroy();
}

LRESULT TAudioMixerWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (mixer_ && mixer_->MixerCallBack(message, wparam, lparam)) return 0;
  return TWindow::HandleMessage(message, wparam, lparam);
}
