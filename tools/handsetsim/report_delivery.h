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

class TReportDelivery {
 public:
  class IPort {
   public:
    virtual ~IPort() = default;
    virtual void Offer(ConnectionId connection, const Bytes& report) = 0;
    // offerEnded follows, delivered or not.
    virtual void Withdraw(ConnectionId connection) = 0;
    // patienceExpired() after kOfferPatienceMs, unless stopped first.
    virtual void StartPatience() = 0;
    virtual void StopPatience() = 0;
  };

  // What a connection has shown itself to be.
  enum class TKind { Idle, Reader, Query };

  struct TEnded {
    std::optional<Bytes> delivered;  // the client read it
    std::optional<Bytes> dropped;    // not read, and the device is gone
  };

  explicit TReportDelivery(IPort& port) : port_(port) {}

  void Queue(Bytes report);
  void Connected(ConnectionId connection);
  void Wrote(ConnectionId connection);
  // An offer that failed without being withdrawn means the connection is gone.
  TEnded OfferEnded(ConnectionId connection, bool delivered);

  struct TClosed {
    TKind kind = TKind::Idle;
    TEnded ended;  // of an offer still pending on it
  };
  // nullopt for a connection it never knew.
  std::optional<TClosed> Disconnected(ConnectionId connection);
  void PatienceExpired();

  // Every connection is broken; returns the queued reports, which are dropped. An offer
  // still pending ends through offerEnded.
  std::vector<Bytes> Unplug();
  void Plug();

  std::size_t Queued() const { return queue_.size(); }

 private:
  struct TConnection {
    TKind kind = TKind::Idle;
    bool broken = false;
    bool Eligible() const { return kind != TKind::Query && !broken; }
  };
  struct TOffer {
    ConnectionId to = 0;
    Bytes report;
    bool withdrawing = false;
  };

  void Pump();
  std::optional<ConnectionId> ChooseReader();
  void WithdrawOffer();

  IPort& port_;
  std::map<ConnectionId, TConnection> connections_;
  std::deque<Bytes> queue_;
  std::optional<TOffer> offer_;
  std::optional<ConnectionId> rotate_from_;  // after a patience withdrawal: try an older one
  bool plugged_ = true;
};

const char* KindName(TReportDelivery::TKind kind);

}  // namespace handsetsim
