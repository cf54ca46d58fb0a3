#include "tools/handsetsim/simulator.h"

#include <algorithm>

#include "tools/simkit/log_format.h"

namespace handsetsim {

// One device's state, and the delivery's port onto the simulator's.
struct TSimulator::Device : TReportDelivery::IPort {
  Device(ISimulatorPort& port, TDeviceRecord device_record) : simulator_port(port), record(std::move(device_record)) {}

  void Offer(ConnectionId connection, const Bytes& report) override { simulator_port.Send(connection, report); }
  void Withdraw(ConnectionId connection) override { simulator_port.Withdraw(connection); }
  void StartPatience() override { simulator_port.StartTimer(TimerId(), kOfferPatienceMs); }
  void StopPatience() override { simulator_port.StopTimer(TimerId()); }
  unsigned TimerId() const { return kDeviceTimerBase + static_cast<unsigned>(record.config.number); }

  ISimulatorPort& simulator_port;
  TDeviceRecord record;
  bool plugged = true;
  TReportDelivery delivery{*this};
};

TSimulator::TSimulator(ISimulatorPort& port, std::string pipe_base) : port_(port), pipe_base_(std::move(pipe_base)) {}

TSimulator::~TSimulator() = default;

bool TSimulator::Start() {
  const std::string path = ControlPipePath(pipe_base_);
  if (!port_.Listen(kControlChannel, path)) {
    port_.Log("ERROR", "cannot serve " + path);
    return false;
  }
  port_.Log("READY", "pipe=" + path);
  return true;
}

TSimulator::Device* TSimulator::Find(int device) {
  const auto it = devices_.find(device);
  return it == devices_.end() ? nullptr : it->second.get();
}

std::string TSimulator::Define(const TDeviceConfig& config) {
  if (Find(config.number)) return "device " + std::to_string(config.number) + " is already defined";
  if (!ValidConfig(config)) return "bad device";
  TDeviceRecord record{config, DevicePipePath(pipe_base_, config)};
  auto device = std::make_unique<Device>(port_, std::move(record));
  Device& added = *device;
  devices_[config.number] = std::move(device);
  added.plugged = false;
  return Plug(config.number);
}

std::string TSimulator::Plug(int number) {
  Device* device = Find(number);
  if (!device) return "no device " + std::to_string(number);
  if (device->plugged) return "device " + std::to_string(number) + " is plugged in";
  if (!port_.Listen(number, device->record.path)) return "cannot serve " + device->record.path;
  device->plugged = true;
  device->delivery.Plug();
  port_.Log("PLUG", std::to_string(number) + " path=" + device->record.path);
  Broadcast(TDeviceChange::Arrival, device->record);
  return "";
}

std::string TSimulator::Unplug(int number) {
  Device* device = Find(number);
  if (!device) return "no device " + std::to_string(number);
  if (!device->plugged) return "device " + std::to_string(number) + " is not plugged in";
  device->plugged = false;
  port_.Log("UNPLUG", std::to_string(number));
  for (const Bytes& report : device->delivery.Unplug()) {
    port_.Log("DROP", "dev=" + std::to_string(number) + " " + HexBytes(report));
  }
  port_.StopListening(number);
  Broadcast(TDeviceChange::Removal, device->record);
  return "";
}

std::string TSimulator::SendKey(int number, std::uint8_t key) {
  Device* device = Find(number);
  if (!device) return "no device " + std::to_string(number);
  if (!device->plugged) return "device " + std::to_string(number) + " is not plugged in";
  Bytes report = InputReport(device->record.config, key);
  // Stamped as it becomes readable, the start of a key's way to the bridge.
  port_.Log("QUEUE", "dev=" + std::to_string(number) + " " + HexBytes(report));
  device->delivery.Queue(std::move(report));
  return "";
}

void TSimulator::OnDeviceTimer(int number) {
  if (Device* device = Find(number)) device->delivery.PatienceExpired();
}

void TSimulator::Broadcast(TDeviceChange change, const TDeviceRecord& record) {
  const std::string text = DeviceEventText(TDeviceEvent{change, record});
  for (ConnectionId listener : listeners_) SendText(listener, text);
}

std::string TSimulator::ConnectionText(int device, ConnectionId connection) const {
  return "dev=" + std::to_string(device) + " conn=" + std::to_string(connection);
}

void TSimulator::Connected(int channel, ConnectionId connection) {
  channels_[connection] = channel;
  if (channel == kControlChannel) return;
  Device* device = Find(channel);
  if (!device) return;
  port_.Log("CONNECT", ConnectionText(channel, connection));
  device->delivery.Connected(connection);
}

void TSimulator::Received(ConnectionId connection, const Bytes& message) {
  const auto it = channels_.find(connection);
  if (it == channels_.end()) return;
  if (it->second == kControlChannel) {
    OnControlMessage(connection, std::string(message.begin(), message.end()));
  } else if (Device* device = Find(it->second)) {
    OnDeviceMessage(*device, connection, message);
  }
}

void TSimulator::OnDeviceMessage(Device& device, ConnectionId connection, const Bytes& message) {
  const int number = device.record.config.number;
  device.delivery.Wrote(connection);
  if (const auto token = ParseQueryMessage(message)) {
    tokens_[*token] = connection;
    port_.Log("QUERY", ConnectionText(number, connection));
    const auto waiting = std::find_if(pending_identifies_.begin(), pending_identifies_.end(),
                                      [&](const TPendingIdentify& p) { return p.token == *token; });
    if (waiting != pending_identifies_.end()) {
      const TPendingIdentify pending = *waiting;
      pending_identifies_.erase(waiting);
      AnswerIdentify(pending.control, pending.token);
    }
    return;
  }
  port_.Log("OUTPUT", ConnectionText(number, connection) + " " + HexBytes(message));
  if (message.size() != device.record.config.output_length) {
    port_.Log("ERROR", ConnectionText(number, connection) + " output report of " + std::to_string(message.size()) +
                           " bytes, not " + std::to_string(device.record.config.output_length));
  }
  outputs_.Record(number, message);
  if (observer_) observer_->OutputArrived(number);
}

void TSimulator::OnControlMessage(ConnectionId connection, const std::string& text) {
  const TControlRequest request = ParseRequest(text);
  switch (request.kind) {
    case TRequestKind::List: {
      std::vector<TDeviceRecord> plugged;
      std::string numbers;
      for (const auto& [number, device] : devices_) {
        if (!device->plugged) continue;
        plugged.push_back(device->record);
        numbers += (numbers.empty() ? "" : ",") + std::to_string(number);
      }
      port_.Log("ENUMERATE",
                "process=" + std::to_string(request.process) + " devices=" + (numbers.empty() ? "none" : numbers));
      SendText(connection, ListReply(plugged));
      return;
    }
    case TRequestKind::Identify:
      if (tokens_.count(request.token))
        AnswerIdentify(connection, request.token);
      else
        pending_identifies_.push_back({connection, request.token});  // its query is still on the way
      return;
    case TRequestKind::Listen:
      listeners_.insert(connection);
      port_.Log("LISTENER", "process=" + std::to_string(request.process));
      return;
    case TRequestKind::Delivered:
      port_.Log("DEVICECHANGE", "dev=" + std::to_string(request.device) + " " + ChangeName(request.change) +
                                    " messages=" + std::to_string(request.messages));
      return;
    case TRequestKind::Invalid:
      port_.Log("ERROR", "control request " + text);
      SendText(connection, "error");
      return;
  }
}

void TSimulator::AnswerIdentify(ConnectionId control, std::uint64_t token) {
  std::optional<TDeviceRecord> record;
  const auto device_connection = tokens_.find(token);
  if (device_connection != tokens_.end()) {
    const auto channel = channels_.find(device_connection->second);
    if (channel != channels_.end()) {
      if (const Device* device = Find(channel->second)) record = device->record;
    }
  }
  SendText(control, IdentifyReply(record));
}

void TSimulator::SendText(ConnectionId connection, const std::string& text) {
  port_.Send(connection, Bytes(text.begin(), text.end()));
}

void TSimulator::WriteEnded(ConnectionId connection, bool completed) {
  const auto it = channels_.find(connection);
  if (it == channels_.end() || it->second == kControlChannel) return;
  Device* device = Find(it->second);
  if (!device) return;
  LogEnded(it->second, connection, device->delivery.OfferEnded(connection, completed));
}

void TSimulator::LogEnded(int device, ConnectionId connection, const TReportDelivery::TEnded& ended) {
  if (ended.delivered) port_.Log("INPUT", ConnectionText(device, connection) + " " + HexBytes(*ended.delivered));
  if (ended.dropped) port_.Log("DROP", "dev=" + std::to_string(device) + " " + HexBytes(*ended.dropped));
}

void TSimulator::Disconnected(ConnectionId connection) {
  const auto it = channels_.find(connection);
  if (it == channels_.end()) return;
  const int channel = it->second;
  channels_.erase(it);
  if (channel == kControlChannel) {
    listeners_.erase(connection);
    pending_identifies_.erase(std::remove_if(pending_identifies_.begin(), pending_identifies_.end(),
                                             [&](const TPendingIdentify& p) { return p.control == connection; }),
                              pending_identifies_.end());
    return;
  }
  for (auto token = tokens_.begin(); token != tokens_.end();) {
    token = token->second == connection ? tokens_.erase(token) : std::next(token);
  }
  Device* device = Find(channel);
  if (!device) return;
  if (const auto closed = device->delivery.Disconnected(connection)) {
    LogEnded(channel, connection, closed->ended);
    port_.Log("CLOSE", ConnectionText(channel, connection) + " kind=" + KindName(closed->kind));
  }
}

}  // namespace handsetsim
