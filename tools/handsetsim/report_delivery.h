#pragma once
// Hands one device's input reports to the clients that read them, one report to one reader,
// in order, none lost when readers come and go.
//
// A reader opens a new connection for every report. The simulator cannot see a client wait
// to read, only what it writes, so every connection that has written nothing may be a
// reader: the next report is offered to the newest of them with a write that ends only when
// the client has read it. A connection that writes (a query or an output report) is never a
// reader, and an offer pending on it is withdrawn. A withdrawn or failed offer goes back to
// the front of the queue. Only one report is offered at a time, which keeps the order.
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <vector>

#include "tools/handsetsim/bytes.h"
#include "tools/handsetsim/simulator_port.h"

namespace handsetsim {

// How long an offer may wait on one connection while another could take it: a client that
// neither reads nor writes must not hold the reports back for ever.
constexpr std::uint32_t kOfferPatienceMs = 250;

class ReportDelivery {
public:
    class Port {
    public:
        virtual ~Port() = default;
        virtual void offer(ConnectionId connection, const Bytes& report) = 0;
        // offerEnded follows, delivered or not.
        virtual void withdraw(ConnectionId connection) = 0;
        // patienceExpired() after kOfferPatienceMs, unless stopped first.
        virtual void startPatience() = 0;
        virtual void stopPatience() = 0;
    };

    // What a connection has shown itself to be.
    enum class Kind { Idle, Reader, Query };

    struct Ended {
        std::optional<Bytes> delivered;  // the client read it
        std::optional<Bytes> dropped;    // not read, and the device is gone
    };

    explicit ReportDelivery(Port& port) : port_(port) {}

    void queue(Bytes report);
    void connected(ConnectionId connection);
    void wrote(ConnectionId connection);
    // An offer that failed without being withdrawn means the connection is gone.
    Ended offerEnded(ConnectionId connection, bool delivered);

    struct Closed {
        Kind kind = Kind::Idle;
        Ended ended;  // of an offer still pending on it
    };
    // nullopt for a connection it never knew.
    std::optional<Closed> disconnected(ConnectionId connection);
    void patienceExpired();

    // Every connection is broken; returns the queued reports, which are dropped. An offer
    // still pending ends through offerEnded.
    std::vector<Bytes> unplug();
    void plug();

    std::size_t queued() const { return queue_.size(); }

private:
    struct Connection {
        Kind kind = Kind::Idle;
        bool broken = false;
        bool eligible() const { return kind != Kind::Query && !broken; }
    };
    struct Offer {
        ConnectionId to = 0;
        Bytes report;
        bool withdrawing = false;
    };

    void pump();
    std::optional<ConnectionId> chooseReader();
    void withdrawOffer();

    Port& port_;
    std::map<ConnectionId, Connection> connections_;
    std::deque<Bytes> queue_;
    std::optional<Offer> offer_;
    std::optional<ConnectionId> rotateFrom_;  // after a patience withdrawal: try an older one
    bool plugged_ = true;
};

const char* kindName(ReportDelivery::Kind kind);

}  // namespace handsetsim
