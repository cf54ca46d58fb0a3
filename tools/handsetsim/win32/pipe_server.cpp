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

struct TPipeServer::Listener {
  int channel = 0;
  std::string path;
  HANDLE pipe = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped = {};
  bool connected_already = false;  // the client came before ConnectNamedPipe
  bool started = false;            // its first instance exists
};

struct TPipeServer::Connection {
  ConnectionId id = 0;
  int channel = 0;
  HANDLE pipe = INVALID_HANDLE_VALUE;
  TPipeServer* server = nullptr;
  TIoSlot read_slot = {};
  TIoSlot write_slot = {};
  std::vector<std::uint8_t> chunk = std::vector<std::uint8_t>(kReadChunk);
  Bytes message;  // a message longer than a chunk, so far
  std::deque<Bytes> writes;
  bool reading = false;
  bool writing = false;
  bool broken = false;
};

TPipeServer::TPipeServer(IPipeEvents& events) : events_(&events) {}

TPipeServer::~TPipeServer() { CloseAll(); }

bool TPipeServer::Listen(int channel, const std::string& path) {
  if (listeners_.count(channel)) return false;
  auto listener = std::make_unique<Listener>();
  listener->channel = channel;
  listener->path = path;
  listener->overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (listener->overlapped.hEvent == nullptr) return false;
  if (!StartListening(*listener)) {
    CloseHandle(listener->overlapped.hEvent);
    return false;
  }
  listeners_[channel] = std::move(listener);
  return true;
}

bool TPipeServer::StartListening(Listener& listener) {
  const bool control = listener.channel == kControlChannel;
  const DWORD out_size = control ? kControlOutBufferSize : kDeviceOutBufferSize;
  // A second simulator on the same pipe names would share the clients: refuse to start.
  // (Windows honours this flag; under Wine main() checks for a server first.)
  const DWORD first = control && !listener.started ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0;
  listener.pipe = CreateNamedPipeA(listener.path.c_str(), PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | first,
                                   PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                                   PIPE_UNLIMITED_INSTANCES, out_size, kInBufferSize, 0, nullptr);
  if (listener.pipe == INVALID_HANDLE_VALUE) return false;
  listener.started = true;
  ResetEvent(listener.overlapped.hEvent);
  listener.connected_already = false;
  if (ConnectNamedPipe(listener.pipe, &listener.overlapped)) {
    listener.connected_already = true;
  } else if (GetLastError() == ERROR_PIPE_CONNECTED) {
    listener.connected_already = true;
  } else if (GetLastError() != ERROR_IO_PENDING) {
    CloseHandle(listener.pipe);
    listener.pipe = INVALID_HANDLE_VALUE;
    return false;
  }
  if (listener.connected_already) SetEvent(listener.overlapped.hEvent);
  return true;
}

void TPipeServer::StopListener(Listener& listener) {
  if (listener.pipe != INVALID_HANDLE_VALUE) {
    DWORD ignored = 0;
    // The connect must have ended before its OVERLAPPED goes; a cancel ends it at once.
    if (!listener.connected_already && CancelIo(listener.pipe)) {
      GetOverlappedResult(listener.pipe, &listener.overlapped, &ignored, TRUE);
    }
    CloseHandle(listener.pipe);
    listener.pipe = INVALID_HANDLE_VALUE;
  }
  CloseHandle(listener.overlapped.hEvent);
}

void TPipeServer::StopListening(int channel) {
  const auto it = listeners_.find(channel);
  if (it != listeners_.end()) {
    StopListener(*it->second);
    listeners_.erase(it);
  }
  for (auto& entry : connections_) {
    if (entry.second->channel == channel) BreakConnection(*entry.second);
  }
}

std::vector<HANDLE> TPipeServer::WaitHandles() const {
  std::vector<HANDLE> handles;
  for (const auto& entry : listeners_) handles.push_back(entry.second->overlapped.hEvent);
  return handles;
}

void TPipeServer::OnSignaled(HANDLE event) {
  for (auto& entry : listeners_) {
    if (entry.second->overlapped.hEvent == event) {
      Accept(*entry.second);
      return;
    }
  }
}

// The waiting instance has a client: it becomes a connection, and a new instance waits.
void TPipeServer::Accept(Listener& listener) {
  DWORD ignored = 0;
  const bool connected =
      listener.connected_already || GetOverlappedResult(listener.pipe, &listener.overlapped, &ignored, FALSE);
  HANDLE pipe = listener.pipe;
  listener.pipe = INVALID_HANDLE_VALUE;
  const bool listening = StartListening(listener);

  if (!connected) {
    CloseHandle(pipe);
  } else {
    auto owned = std::make_unique<Connection>();
    Connection& connection = *owned;
    connection.id = ++last_id_;
    connection.channel = listener.channel;
    connection.pipe = pipe;
    connection.server = this;
    connection.read_slot.owner = &connection;
    connection.write_slot.owner = &connection;
    connections_[connection.id] = std::move(owned);
    StartRead(connection);
    if (events_) events_->Connected(connection.channel, connection.id);
    FinishIfDone(connection);
  }
  // Should a new instance fail, the channel stops taking clients rather than spin on a
  // signaled event.
  if (!listening) {
    const int channel = listener.channel;
    StopListener(listener);
    listeners_.erase(channel);
  }
}

void TPipeServer::Send(ConnectionId id, const Bytes& message) {
  const auto it = connections_.find(id);
  if (it == connections_.end()) return;
  Connection& connection = *it->second;
  if (connection.broken) return;
  connection.writes.push_back(message);
  if (!connection.writing) StartWrite(connection);
}

void TPipeServer::Withdraw(ConnectionId id) {
  const auto it = connections_.find(id);
  if (it == connections_.end() || !it->second->writing || it->second->broken) return;
  CancelIoEx(it->second->pipe, &it->second->write_slot.overlapped);
}

void TPipeServer::StartRead(Connection& connection) {
  connection.read_slot.overlapped = {};
  if (ReadFileEx(connection.pipe, connection.chunk.data(), kReadChunk, &connection.read_slot.overlapped, ReadDone)) {
    connection.reading = true;
  } else {
    BreakConnection(connection);
  }
}

void TPipeServer::StartWrite(Connection& connection) {
  const Bytes& message = connection.writes.front();
  connection.write_slot.overlapped = {};
  if (WriteFileEx(connection.pipe, message.data(), static_cast<DWORD>(message.size()),
                  &connection.write_slot.overlapped, WriteDone)) {
    connection.writing = true;
  } else {
    BreakConnection(connection);  // the write ends, not completed, with the connection
  }
}

void CALLBACK TPipeServer::ReadDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped) {
  Connection& connection = *reinterpret_cast<TIoSlot*>(overlapped)->owner;
  connection.server->OnRead(connection, error, bytes);
}

void CALLBACK TPipeServer::WriteDone(DWORD error, DWORD, OVERLAPPED* overlapped) {
  Connection& connection = *reinterpret_cast<TIoSlot*>(overlapped)->owner;
  connection.server->OnWrite(connection, error);
}

void TPipeServer::OnRead(Connection& connection, DWORD error, DWORD bytes) {
  connection.reading = false;
  if (!connection.broken) {
    if (error == ERROR_SUCCESS || error == ERROR_MORE_DATA) {
      connection.message.insert(connection.message.end(), connection.chunk.begin(), connection.chunk.begin() + bytes);
    }
    if (error == ERROR_SUCCESS) {
      const Bytes message = std::move(connection.message);
      connection.message.clear();
      if (events_) events_->Received(connection.id, message);
    }
    if (error != ERROR_SUCCESS && error != ERROR_MORE_DATA)
      BreakConnection(connection);
    else if (!connection.broken)
      StartRead(connection);
  }
  FinishIfDone(connection);
}

void TPipeServer::OnWrite(Connection& connection, DWORD error) {
  connection.writing = false;
  connection.writes.pop_front();
  // Only a withdrawal cancels a write; any other failure means the client has gone.
  if (error != ERROR_SUCCESS && error != ERROR_OPERATION_ABORTED) BreakConnection(connection);
  if (events_) events_->WriteEnded(connection.id, error == ERROR_SUCCESS);
  // The event may have sent the next message already.
  if (!connection.broken && !connection.writing && !connection.writes.empty()) StartWrite(connection);
  FinishIfDone(connection);
}

// Closing the server end breaks the client's pending read and refuses its writes; our own
// pending I/O ends through its completion routines.
void TPipeServer::BreakConnection(Connection& connection) {
  if (connection.broken) return;
  connection.broken = true;
  CancelIo(connection.pipe);
  DisconnectNamedPipe(connection.pipe);
  CloseHandle(connection.pipe);
  connection.pipe = INVALID_HANDLE_VALUE;
}

// A broken connection goes once its last completion routine has run.
void TPipeServer::FinishIfDone(Connection& connection) {
  if (!connection.broken || connection.reading || connection.writing) return;
  const ConnectionId id = connection.id;
  const std::size_t unsent = connection.writes.size();
  connection.writes.clear();
  for (std::size_t i = 0; i < unsent; ++i) {
    if (events_) events_->WriteEnded(id, false);
  }
  if (events_) events_->Disconnected(id);
  connections_.erase(id);
}

void TPipeServer::CloseAll() {
  events_ = nullptr;
  for (auto& entry : listeners_) StopListener(*entry.second);
  listeners_.clear();
  for (auto& entry : connections_) BreakConnection(*entry.second);
  for (int round = 0; round < kDrainRounds && !connections_.empty(); ++round) SleepEx(kDrainSliceMs, TRUE);
}

}  // namespace handsetsim
