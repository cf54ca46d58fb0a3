#include "tools/handsetsim/win32/pipe_server.h"

#include <deque>

namespace handsetsim {
namespace {

constexpr DWORD kInBufferSize = 4096;
// Device pipes buffer nothing towards the client, so that a report's write ends only when
// a client has read it: that is how the simulator knows a report reached a reader.
constexpr DWORD kDeviceOutBufferSize = 0;
constexpr DWORD kControlOutBufferSize = 4096;
constexpr DWORD kReadChunk = 4096;
// closeAll's wait for cancelled I/O: it ends at once, this only bounds a surprise.
constexpr int kDrainRounds = 50;
constexpr DWORD kDrainSliceMs = 20;

}  // namespace

struct PipeServer::Listener {
    int channel = 0;
    std::string path;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped = {};
    bool connectedAlready = false;  // the client came before ConnectNamedPipe
    bool started = false;           // its first instance exists
};

struct PipeServer::Connection {
    ConnectionId id = 0;
    int channel = 0;
    HANDLE pipe = INVALID_HANDLE_VALUE;
    PipeServer* server = nullptr;
    IoSlot readSlot = {};
    IoSlot writeSlot = {};
    std::vector<std::uint8_t> chunk = std::vector<std::uint8_t>(kReadChunk);
    Bytes message;  // a message longer than a chunk, so far
    std::deque<Bytes> writes;
    bool reading = false;
    bool writing = false;
    bool broken = false;
};

PipeServer::PipeServer(PipeEvents& events) : events_(&events) {}

PipeServer::~PipeServer() {
    closeAll();
}

bool PipeServer::listen(int channel, const std::string& path) {
    if (listeners_.count(channel)) return false;
    auto listener = std::make_unique<Listener>();
    listener->channel = channel;
    listener->path = path;
    listener->overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (listener->overlapped.hEvent == nullptr) return false;
    if (!startListening(*listener)) {
        CloseHandle(listener->overlapped.hEvent);
        return false;
    }
    listeners_[channel] = std::move(listener);
    return true;
}

bool PipeServer::startListening(Listener& listener) {
    const bool control = listener.channel == kControlChannel;
    const DWORD outSize = control ? kControlOutBufferSize : kDeviceOutBufferSize;
    // A second simulator on the same pipe names would share the clients: refuse to start.
    // (Windows honours this flag; under Wine main() checks for a server first.)
    const DWORD first = control && !listener.started ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
    listener.pipe = CreateNamedPipeA(listener.path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | first,
                                     PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                     PIPE_UNLIMITED_INSTANCES, outSize, kInBufferSize, 0, nullptr);
    if (listener.pipe == INVALID_HANDLE_VALUE) return false;
    listener.started = true;
    ResetEvent(listener.overlapped.hEvent);
    listener.connectedAlready = false;
    if (ConnectNamedPipe(listener.pipe, &listener.overlapped)) {
        listener.connectedAlready = true;
    } else if (GetLastError() == ERROR_PIPE_CONNECTED) {
        listener.connectedAlready = true;
    } else if (GetLastError() != ERROR_IO_PENDING) {
        CloseHandle(listener.pipe);
        listener.pipe = INVALID_HANDLE_VALUE;
        return false;
    }
    if (listener.connectedAlready) SetEvent(listener.overlapped.hEvent);
    return true;
}

void PipeServer::stopListener(Listener& listener) {
    if (listener.pipe != INVALID_HANDLE_VALUE) {
        DWORD ignored = 0;
        // The connect must have ended before its OVERLAPPED goes; a cancel ends it at once.
        if (!listener.connectedAlready && CancelIo(listener.pipe)) {
            GetOverlappedResult(listener.pipe, &listener.overlapped, &ignored, TRUE);
        }
        CloseHandle(listener.pipe);
        listener.pipe = INVALID_HANDLE_VALUE;
    }
    CloseHandle(listener.overlapped.hEvent);
}

void PipeServer::stopListening(int channel) {
    const auto it = listeners_.find(channel);
    if (it != listeners_.end()) {
        stopListener(*it->second);
        listeners_.erase(it);
    }
    for (auto& entry : connections_) {
        if (entry.second->channel == channel) breakConnection(*entry.second);
    }
}

std::vector<HANDLE> PipeServer::waitHandles() const {
    std::vector<HANDLE> handles;
    for (const auto& entry : listeners_) handles.push_back(entry.second->overlapped.hEvent);
    return handles;
}

void PipeServer::onSignaled(HANDLE event) {
    for (auto& entry : listeners_) {
        if (entry.second->overlapped.hEvent == event) {
            accept(*entry.second);
            return;
        }
    }
}

// The waiting instance has a client: it becomes a connection, and a new instance waits.
void PipeServer::accept(Listener& listener) {
    DWORD ignored = 0;
    const bool connected =
        listener.connectedAlready || GetOverlappedResult(listener.pipe, &listener.overlapped, &ignored, FALSE);
    HANDLE pipe = listener.pipe;
    listener.pipe = INVALID_HANDLE_VALUE;
    const bool listening = startListening(listener);

    if (!connected) {
        CloseHandle(pipe);
    } else {
        auto owned = std::make_unique<Connection>();
        Connection& connection = *owned;
        connection.id = ++lastId_;
        connection.channel = listener.channel;
        connection.pipe = pipe;
        connection.server = this;
        connection.readSlot.owner = &connection;
        connection.writeSlot.owner = &connection;
        connections_[connection.id] = std::move(owned);
        startRead(connection);
        if (events_) events_->connected(connection.channel, connection.id);
        finishIfDone(connection);
    }
    // Should a new instance fail, the channel stops taking clients rather than spin on a
    // signaled event.
    if (!listening) {
        const int channel = listener.channel;
        stopListener(listener);
        listeners_.erase(channel);
    }
}

void PipeServer::send(ConnectionId id, const Bytes& message) {
    const auto it = connections_.find(id);
    if (it == connections_.end()) return;
    Connection& connection = *it->second;
    if (connection.broken) return;
    connection.writes.push_back(message);
    if (!connection.writing) startWrite(connection);
}

void PipeServer::withdraw(ConnectionId id) {
    const auto it = connections_.find(id);
    if (it == connections_.end() || !it->second->writing || it->second->broken) return;
    CancelIoEx(it->second->pipe, &it->second->writeSlot.overlapped);
}

void PipeServer::startRead(Connection& connection) {
    connection.readSlot.overlapped = {};
    if (ReadFileEx(connection.pipe, connection.chunk.data(), kReadChunk, &connection.readSlot.overlapped, readDone)) {
        connection.reading = true;
    } else {
        breakConnection(connection);
    }
}

void PipeServer::startWrite(Connection& connection) {
    const Bytes& message = connection.writes.front();
    connection.writeSlot.overlapped = {};
    if (WriteFileEx(connection.pipe, message.data(), static_cast<DWORD>(message.size()),
                    &connection.writeSlot.overlapped, writeDone)) {
        connection.writing = true;
    } else {
        breakConnection(connection);  // the write ends, not completed, with the connection
    }
}

void CALLBACK PipeServer::readDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped) {
    Connection& connection = *reinterpret_cast<IoSlot*>(overlapped)->owner;
    connection.server->onRead(connection, error, bytes);
}

void CALLBACK PipeServer::writeDone(DWORD error, DWORD, OVERLAPPED* overlapped) {
    Connection& connection = *reinterpret_cast<IoSlot*>(overlapped)->owner;
    connection.server->onWrite(connection, error);
}

void PipeServer::onRead(Connection& connection, DWORD error, DWORD bytes) {
    connection.reading = false;
    if (!connection.broken) {
        if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
            connection.message.insert(connection.message.end(), connection.chunk.begin(), connection.chunk.begin() + bytes);
        }
        if (error == ERROR_SUCCESS) {
            const Bytes message = std::move(connection.message);
            connection.message.clear();
            if (events_) events_->received(connection.id, message);
        }
        if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA) breakConnection(connection);
        else if (!connection.broken) startRead(connection);
    }
    finishIfDone(connection);
}

void PipeServer::onWrite(Connection& connection, DWORD error) {
    connection.writing = false;
    connection.writes.pop_front();
    // Only a withdrawal cancels a write; any other failure means the client has gone.
    if (error != ERROR_SUCCESS && error != ERROR_OPERATION_ABORTED) breakConnection(connection);
    if (events_) events_->writeEnded(connection.id, error == ERROR_SUCCESS);
    // The event may have sent the next message already.
    if (!connection.broken && !connection.writing && !connection.writes.empty()) startWrite(connection);
    finishIfDone(connection);
}

// Closing the server end breaks the client's pending read and refuses its writes; our own
// pending I/O ends through its completion routines.
void PipeServer::breakConnection(Connection& connection) {
    if (connection.broken) return;
    connection.broken = true;
    CancelIo(connection.pipe);
    DisconnectNamedPipe(connection.pipe);
    CloseHandle(connection.pipe);
    connection.pipe = INVALID_HANDLE_VALUE;
}

// A broken connection goes once its last completion routine has run.
void PipeServer::finishIfDone(Connection& connection) {
    if (!connection.broken || connection.reading || connection.writing) return;
    const ConnectionId id = connection.id;
    const std::size_t unsent = connection.writes.size();
    connection.writes.clear();
    for (std::size_t i = 0; i < unsent; ++i) {
        if (events_) events_->writeEnded(id, false);
    }
    if (events_) events_->disconnected(id);
    connections_.erase(id);
}

void PipeServer::closeAll() {
    events_ = nullptr;
    for (auto& entry : listeners_) stopListener(*entry.second);
    listeners_.clear();
    for (auto& entry : connections_) breakConnection(*entry.second);
    for (int round = 0; round < kDrainRounds && !connections_.empty(); ++round) SleepEx(kDrainSliceMs, TRUE);
}

}  // namespace handsetsim
