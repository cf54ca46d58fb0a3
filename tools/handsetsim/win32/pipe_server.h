#pragma once
// The simulator's named pipes: one instance waiting for a client on each channel, and the
// connected clients, all on the thread that runs the message loop. Reads and writes complete
// through completion routines, which run while that thread waits alertably.
#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/handsetsim/simulator_port.h"

namespace handsetsim {

class TPipeServer {
 public:
  explicit TPipeServer(IPipeEvents& events);
  ~TPipeServer();

  TPipeServer(const TPipeServer&) = delete;
  TPipeServer& operator=(const TPipeServer&) = delete;

  bool Listen(int channel, const std::string& path);
  void StopListening(int channel);
  void Send(ConnectionId connection, const Bytes& message);
  void Withdraw(ConnectionId connection);

  // The events that signal a client connecting, for the message loop's wait.
  std::vector<HANDLE> WaitHandles() const;
  void OnSignaled(HANDLE event);

  // Breaks everything and lets the cancelled I/O end, reporting nothing more.
  void CloseAll();

 private:
  struct Listener;
  struct Connection;
  struct TIoSlot {
    OVERLAPPED overlapped;  // first, so that a completion's OVERLAPPED* is the slot
    Connection* owner;
  };

  static void CALLBACK ReadDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped);
  static void CALLBACK WriteDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped);

  bool StartListening(Listener& listener);
  void StopListener(Listener& listener);
  void Accept(Listener& listener);
  void StartRead(Connection& connection);
  void StartWrite(Connection& connection);
  void OnRead(Connection& connection, DWORD error, DWORD bytes);
  void OnWrite(Connection& connection, DWORD error);
  void BreakConnection(Connection& connection);
  void FinishIfDone(Connection& connection);

  IPipeEvents* events_;  // null once closing: nothing more is reported
  std::map<int, std::unique_ptr<Listener>> listeners_;
  std::map<ConnectionId, std::unique_ptr<Connection>> connections_;
  ConnectionId last_id_ = 0;
};

}  // namespace handsetsim
