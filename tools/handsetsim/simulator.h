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

class TSimulator : public IPipeEvents {
 public:
  // Told of every output report, so that a waiting scenario can go on.
  class IObserver {
   public:
    virtual ~IObserver() = default;
    virtual void OutputArrived(int device) = 0;
  };

  TSimulator(ISimulatorPort& port, std::string pipe_base);
  ~TSimulator() override;

  void SetObserver(IObserver* observer) { observer_ = observer; }
  // Opens the control pipe and logs READY; false when it cannot.
  bool Start();

  // The scenario's operations: an empty string when done, otherwise why not.
  std::string Define(const TDeviceConfig& config);
  std::string Plug(int device);
  std::string Unplug(int device);
  std::string SendKey(int device, std::uint8_t key);
  bool ConsumeOutput(int device, const Bytes& prefix) { return outputs_.Consume(device, prefix); }
  void OnDeviceTimer(int device);

  void Connected(int channel, ConnectionId connection) override;
  void Received(ConnectionId connection, const Bytes& message) override;
  void WriteEnded(ConnectionId connection, bool completed) override;
  void Disconnected(ConnectionId connection) override;

 private:
  struct Device;
  struct TPendingIdentify {
    ConnectionId control = 0;
    std::uint64_t token = 0;
  };

  Device* Find(int device);
  void Broadcast(TDeviceChange change, const TDeviceRecord& record);
  void OnDeviceMessage(Device& device, ConnectionId connection, const Bytes& message);
  void OnControlMessage(ConnectionId connection, const std::string& text);
  void AnswerIdentify(ConnectionId control, std::uint64_t token);
  void SendText(ConnectionId connection, const std::string& text);
  void LogEnded(int device, ConnectionId connection, const TReportDelivery::TEnded& ended);
  std::string ConnectionText(int device, ConnectionId connection) const;

  ISimulatorPort& port_;
  const std::string pipe_base_;
  IObserver* observer_ = nullptr;
  std::map<int, std::unique_ptr<Device>> devices_;
  std::map<ConnectionId, int> channels_;
  TOutputHistory outputs_;

  std::map<std::uint64_t, ConnectionId> tokens_;  // query token -> the device connection it came on
  std::vector<TPendingIdentify> pending_identifies_;
  std::set<ConnectionId> listeners_;
};

}  // namespace handsetsim
