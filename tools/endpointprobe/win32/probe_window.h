#pragma once
// The probe's hidden window: it carries out the command lines on the window thread, holds
// the handset's endpoint volume over the real port, and logs what the port and the volume
// report (see tools/endpointprobe/README.md).
#include <windows.h>

#include <memory>
#include <string>

#include "audio/handset_endpoint_volume.h"
#include "audio/win32/endpoint_volume_window.h"
#include "common/win32/window.h"
#include "tools/simkit/win32/event_log.h"
#include "tools/simkit/win32/input_thread.h"

namespace endpointprobe {

constexpr UINT kInputMessage = WM_APP + 1;

class ProbeWindow final : public TWindow, public IHandsetVolumeView, public IEndpointEvents {
public:
    ProbeWindow(simkit::EventLog& log, simkit::InputQueue& input, TEndpointVolumeWindow& endpoints);
    ~ProbeWindow() override;
    bool Create();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void takeInput();
    void run(const std::string& line);
    void list(const std::string& flow);
    void find(const std::string& options);
    void raw(const std::string& arguments);
    void simCommand(const std::string& text);
    void remoteCommand(const std::string& arguments);
    void logModules();
    void logResult(const std::string& what, TEndpointResult result);

    void ShowSide(THandsetSide side, const TSideView& view) override;
    void HandsetDevicesChanged() override;
    void OnEndpointVolume(const std::string& id, float level, bool mute, bool own) override;
    void OnEndpointDevicesChanged() override;

    simkit::EventLog& log_;
    simkit::InputQueue& input_;
    TEndpointVolumeWindow& endpoints_;
    std::unique_ptr<THandsetEndpointVolume> volume_;
};

}  // namespace endpointprobe
