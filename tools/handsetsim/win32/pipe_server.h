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

class PipeServer {
public:
    explicit PipeServer(PipeEvents& events);
    ~PipeServer();

    PipeServer(const PipeServer&) = delete;
    PipeServer& operator=(const PipeServer&) = delete;

    bool listen(int channel, const std::string& path);
    void stopListening(int channel);
    void send(ConnectionId connection, const Bytes& message);
    void withdraw(ConnectionId connection);

    // The events that signal a client connecting, for the message loop's wait.
    std::vector<HANDLE> waitHandles() const;
    void onSignaled(HANDLE event);

    // Breaks everything and lets the cancelled I/O end, reporting nothing more.
    void closeAll();

private:
    struct Listener;
    struct Connection;
    struct IoSlot {
        OVERLAPPED overlapped;  // first, so that a completion's OVERLAPPED* is the slot
        Connection* owner;
    };

    static void CALLBACK readDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped);
    static void CALLBACK writeDone(DWORD error, DWORD bytes, OVERLAPPED* overlapped);

    bool startListening(Listener& listener);
    void stopListener(Listener& listener);
    void accept(Listener& listener);
    void startRead(Connection& connection);
    void startWrite(Connection& connection);
    void onRead(Connection& connection, DWORD error, DWORD bytes);
    void onWrite(Connection& connection, DWORD error);
    void breakConnection(Connection& connection);
    void finishIfDone(Connection& connection);

    PipeEvents* events_;  // null once closing: nothing more is reported
    std::map<int, std::unique_ptr<Listener>> listeners_;
    std::map<ConnectionId, std::unique_ptr<Connection>> connections_;
    ConnectionId lastId_ = 0;
};

}  // namespace handsetsim
