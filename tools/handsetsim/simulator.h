#pragma once
// The simulated handsets: their pipes, their reports both ways, plugging and unplugging, and
// the stand-in DLLs' requests on the control pipe. Logs every event through the port.
#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tools/handsetsim/device_config.h"
#include "tools/handsetsim/output_history.h"
#include "tools/handsetsim/report_delivery.h"
#include "tools/handsetsim/simulator_port.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim {

class Simulator : public PipeEvents {
public:
    // Told of every output report, so that a waiting scenario can go on.
    class Observer {
    public:
        virtual ~Observer() = default;
        virtual void outputArrived(int device) = 0;
    };

    Simulator(SimulatorPort& port, std::string pipeBase);
    ~Simulator() override;

    void setObserver(Observer* observer) { observer_ = observer; }
    // Opens the control pipe and logs READY; false when it cannot.
    bool start();

    // The scenario's operations: an empty string when done, otherwise why not.
    std::string define(const DeviceConfig& config);
    std::string plug(int device);
    std::string unplug(int device);
    std::string sendKey(int device, std::uint8_t key);
    bool consumeOutput(int device, const Bytes& prefix) { return outputs_.consume(device, prefix); }
    void onDeviceTimer(int device);

    void connected(int channel, ConnectionId connection) override;
    void received(ConnectionId connection, const Bytes& message) override;
    void writeEnded(ConnectionId connection, bool completed) override;
    void disconnected(ConnectionId connection) override;

private:
    struct Device;
    struct PendingIdentify {
        ConnectionId control = 0;
        std::uint64_t token = 0;
    };

    Device* find(int device);
    void broadcast(DeviceChange change, const DeviceRecord& record);
    void onDeviceMessage(Device& device, ConnectionId connection, const Bytes& message);
    void onControlMessage(ConnectionId connection, const std::string& text);
    void answerIdentify(ConnectionId control, std::uint64_t token);
    void sendText(ConnectionId connection, const std::string& text);
    void logEnded(int device, ConnectionId connection, const ReportDelivery::Ended& ended);
    std::string connectionText(int device, ConnectionId connection) const;

    SimulatorPort& port_;
    const std::string pipeBase_;
    Observer* observer_ = nullptr;
    std::map<int, std::unique_ptr<Device>> devices_;
    std::map<ConnectionId, int> channels_;
    OutputHistory outputs_;

    std::map<std::uint64_t, ConnectionId> tokens_;  // query token -> the device connection it came on
    std::vector<PendingIdentify> pendingIdentifies_;
    std::set<ConnectionId> listeners_;
};

}  // namespace handsetsim
