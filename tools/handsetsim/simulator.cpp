#include "tools/handsetsim/simulator.h"

#include <algorithm>

#include "tools/simkit/log_format.h"

namespace handsetsim {

// One device's state, and the delivery's port onto the simulator's.
struct Simulator::Device : ReportDelivery::Port {
    Device(SimulatorPort& port, DeviceRecord deviceRecord) : simulatorPort(port), record(std::move(deviceRecord)) {}

    void offer(ConnectionId connection, const Bytes& report) override { simulatorPort.send(connection, report); }
    void withdraw(ConnectionId connection) override { simulatorPort.withdraw(connection); }
    void startPatience() override { simulatorPort.startTimer(timerId(), kOfferPatienceMs); }
    void stopPatience() override { simulatorPort.stopTimer(timerId()); }
    unsigned timerId() const { return kDeviceTimerBase + static_cast<unsigned>(record.config.number); }

    SimulatorPort& simulatorPort;
    DeviceRecord record;
    bool plugged = true;
    ReportDelivery delivery{*this};
};

Simulator::Simulator(SimulatorPort& port, std::string pipeBase) : port_(port), pipeBase_(std::move(pipeBase)) {}

Simulator::~Simulator() = default;

bool Simulator::start() {
    const std::string path = controlPipePath(pipeBase_);
    if (!port_.listen(kControlChannel, path)) {
        port_.log("ERROR", "cannot serve " + path);
        return false;
    }
    port_.log("READY", "pipe=" + path);
    return true;
}

Simulator::Device* Simulator::find(int device) {
    const auto it = devices_.find(device);
    return it == devices_.end() ? nullptr : it->second.get();
}

std::string Simulator::define(const DeviceConfig& config) {
    if (find(config.number)) return "device " + std::to_string(config.number) + " is already defined";
    if (!validConfig(config)) return "bad device";
    DeviceRecord record{config, devicePipePath(pipeBase_, config)};
    auto device = std::make_unique<Device>(port_, std::move(record));
    Device& added = *device;
    devices_[config.number] = std::move(device);
    added.plugged = false;
    return plug(config.number);
}

std::string Simulator::plug(int number) {
    Device* device = find(number);
    if (!device) return "no device " + std::to_string(number);
    if (device->plugged) return "device " + std::to_string(number) + " is plugged in";
    if (!port_.listen(number, device->record.path)) return "cannot serve " + device->record.path;
    device->plugged = true;
    device->delivery.plug();
    port_.log("PLUG", std::to_string(number) + " path=" + device->record.path);
    broadcast(DeviceChange::Arrival, device->record);
    return "";
}

std::string Simulator::unplug(int number) {
    Device* device = find(number);
    if (!device) return "no device " + std::to_string(number);
    if (!device->plugged) return "device " + std::to_string(number) + " is not plugged in";
    device->plugged = false;
    port_.log("UNPLUG", std::to_string(number));
    for (const Bytes& report : device->delivery.unplug()) {
        port_.log("DROP", "dev=" + std::to_string(number) + " " + hexBytes(report));
    }
    port_.stopListening(number);
    broadcast(DeviceChange::Removal, device->record);
    return "";
}

std::string Simulator::sendKey(int number, std::uint8_t key) {
    Device* device = find(number);
    if (!device) return "no device " + std::to_string(number);
    if (!device->plugged) return "device " + std::to_string(number) + " is not plugged in";
    Bytes report = inputReport(device->record.config, key);
    // Stamped as it becomes readable, the start of a key's way to the bridge.
    port_.log("QUEUE", "dev=" + std::to_string(number) + " " + hexBytes(report));
    device->delivery.queue(std::move(report));
    return "";
}

void Simulator::onDeviceTimer(int number) {
    if (Device* device = find(number)) device->delivery.patienceExpired();
}

void Simulator::broadcast(DeviceChange change, const DeviceRecord& record) {
    const std::string text = deviceEventText(DeviceEvent{change, record});
    for (ConnectionId listener : listeners_) sendText(listener, text);
}

std::string Simulator::connectionText(int device, ConnectionId connection) const {
    return "dev=" + std::to_string(device) + " conn=" + std::to_string(connection);
}

void Simulator::connected(int channel, ConnectionId connection) {
    channels_[connection] = channel;
    if (channel == kControlChannel) return;
    Device* device = find(channel);
    if (!device) return;
    port_.log("CONNECT", connectionText(channel, connection));
    device->delivery.connected(connection);
}

void Simulator::received(ConnectionId connection, const Bytes& message) {
    const auto it = channels_.find(connection);
    if (it == channels_.end()) return;
    if (it->second == kControlChannel) {
        onControlMessage(connection, std::string(message.begin(), message.end()));
    } else if (Device* device = find(it->second)) {
        onDeviceMessage(*device, connection, message);
    }
}

void Simulator::onDeviceMessage(Device& device, ConnectionId connection, const Bytes& message) {
    const int number = device.record.config.number;
    device.delivery.wrote(connection);
    if (const auto token = parseQueryMessage(message)) {
        tokens_[*token] = connection;
        port_.log("QUERY", connectionText(number, connection));
        const auto waiting = std::find_if(pendingIdentifies_.begin(), pendingIdentifies_.end(),
                                          [&](const PendingIdentify& p) { return p.token == *token; });
        if (waiting != pendingIdentifies_.end()) {
            const PendingIdentify pending = *waiting;
            pendingIdentifies_.erase(waiting);
            answerIdentify(pending.control, pending.token);
        }
        return;
    }
    port_.log("OUTPUT", connectionText(number, connection) + " " + hexBytes(message));
    if (message.size() != device.record.config.outputLength) {
        port_.log("ERROR", connectionText(number, connection) + " output report of " + std::to_string(message.size()) +
                               " bytes, not " + std::to_string(device.record.config.outputLength));
    }
    outputs_.record(number, message);
    if (observer_) observer_->outputArrived(number);
}

void Simulator::onControlMessage(ConnectionId connection, const std::string& text) {
    const ControlRequest request = parseRequest(text);
    switch (request.kind) {
    case RequestKind::List: {
        std::vector<DeviceRecord> plugged;
        std::string numbers;
        for (const auto& [number, device] : devices_) {
            if (!device->plugged) continue;
            plugged.push_back(device->record);
            numbers += (numbers.empty() ? "" : ",") + std::to_string(number);
        }
        port_.log("ENUMERATE", "process=" + std::to_string(request.process) +
                                   " devices=" + (numbers.empty() ? "none" : numbers));
        sendText(connection, listReply(plugged));
        return;
    }
    case RequestKind::Identify:
        if (tokens_.count(request.token)) answerIdentify(connection, request.token);
        else pendingIdentifies_.push_back({connection, request.token});  // its query is still on the way
        return;
    case RequestKind::Listen:
        listeners_.insert(connection);
        port_.log("LISTENER", "process=" + std::to_string(request.process));
        return;
    case RequestKind::Delivered:
        port_.log("DEVICECHANGE", "dev=" + std::to_string(request.device) + " " + changeName(request.change) +
                                      " messages=" + std::to_string(request.messages));
        return;
    case RequestKind::Invalid:
        port_.log("ERROR", "control request " + text);
        sendText(connection, "error");
        return;
    }
}

void Simulator::answerIdentify(ConnectionId control, std::uint64_t token) {
    std::optional<DeviceRecord> record;
    const auto deviceConnection = tokens_.find(token);
    if (deviceConnection != tokens_.end()) {
        const auto channel = channels_.find(deviceConnection->second);
        if (channel != channels_.end()) {
            if (const Device* device = find(channel->second)) record = device->record;
        }
    }
    sendText(control, identifyReply(record));
}

void Simulator::sendText(ConnectionId connection, const std::string& text) {
    port_.send(connection, Bytes(text.begin(), text.end()));
}

void Simulator::writeEnded(ConnectionId connection, bool completed) {
    const auto it = channels_.find(connection);
    if (it == channels_.end() || it->second == kControlChannel) return;
    Device* device = find(it->second);
    if (!device) return;
    logEnded(it->second, connection, device->delivery.offerEnded(connection, completed));
}

void Simulator::logEnded(int device, ConnectionId connection, const ReportDelivery::Ended& ended) {
    if (ended.delivered) port_.log("INPUT", connectionText(device, connection) + " " + hexBytes(*ended.delivered));
    if (ended.dropped) port_.log("DROP", "dev=" + std::to_string(device) + " " + hexBytes(*ended.dropped));
}

void Simulator::disconnected(ConnectionId connection) {
    const auto it = channels_.find(connection);
    if (it == channels_.end()) return;
    const int channel = it->second;
    channels_.erase(it);
    if (channel == kControlChannel) {
        listeners_.erase(connection);
        pendingIdentifies_.erase(std::remove_if(pendingIdentifies_.begin(), pendingIdentifies_.end(),
                                                [&](const PendingIdentify& p) { return p.control == connection; }),
                                 pendingIdentifies_.end());
        return;
    }
    for (auto token = tokens_.begin(); token != tokens_.end();) {
        token = token->second == connection ? tokens_.erase(token) : std::next(token);
    }
    Device* device = find(channel);
    if (!device) return;
    if (const auto closed = device->delivery.disconnected(connection)) {
        logEnded(channel, connection, closed->ended);
        port_.log("CLOSE", connectionText(channel, connection) + " kind=" + kindName(closed->kind));
    }
}

}  // namespace handsetsim
