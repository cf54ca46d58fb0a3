#include "tools/handsetsim/report_delivery.h"

#include <utility>

namespace handsetsim {

const char* KindName(TReportDelivery::TKind kind) {
  switch (kind) {
    case TReportDelivery::TKind::Reader:
      return "reader";
    case TReportDelivery::TKind::Query:
      return "query";
    default:
      return "idle";
  }
}

void TReportDelivery::Queue(Bytes report) {
  if (!plugged_) return;
  queue_.push_back(std::move(report));
  Pump();
}

void TReportDelivery::Connected(ConnectionId connection) {
  connections_[connection] = TConnection{};
  rotate_from_.reset();
  // The newest connection is the likeliest reader: move a pending offer to it.
  if (offer_ && offer_->to != connection) WithdrawOffer();
  Pump();
}

void TReportDelivery::Wrote(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return;
  it->second.kind = TKind::Query;
  if (offer_ && offer_->to == connection) WithdrawOffer();
}

TReportDelivery::TEnded TReportDelivery::OfferEnded(ConnectionId connection, bool delivered) {
  TEnded ended;
  if (!offer_ || offer_->to != connection) return ended;
  port_.StopPatience();
  Bytes report = std::move(offer_->report);
  const bool withdrawn = offer_->withdrawing;
  offer_.reset();
  const auto it = connections_.find(connection);
  if (delivered) {
    if (it != connections_.end() && it->second.kind == TKind::Idle) it->second.kind = TKind::Reader;
    ended.delivered = std::move(report);
  } else {
    if (!withdrawn && it != connections_.end()) it->second.broken = true;
    if (plugged_)
      queue_.push_front(std::move(report));
    else
      ended.dropped = std::move(report);
  }
  Pump();
  return ended;
}

std::optional<TReportDelivery::TClosed> TReportDelivery::Disconnected(ConnectionId connection) {
  const auto it = connections_.find(connection);
  if (it == connections_.end()) return std::nullopt;
  TClosed closed;
  closed.kind = it->second.kind;
  it->second.broken = true;
  if (offer_ && offer_->to == connection) closed.ended = OfferEnded(connection, false);
  connections_.erase(connection);
  Pump();
  return closed;
}

void TReportDelivery::PatienceExpired() {
  if (!offer_ || offer_->withdrawing) return;
  for (const auto& [id, state] : connections_) {
    if (id != offer_->to && state.Eligible()) {
      rotate_from_ = offer_->to;
      WithdrawOffer();
      return;
    }
  }
}

std::vector<Bytes> TReportDelivery::Unplug() {
  plugged_ = false;
  for (auto& entry : connections_) entry.second.broken = true;
  if (offer_) WithdrawOffer();
  std::vector<Bytes> dropped(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
  queue_.clear();
  return dropped;
}

void TReportDelivery::Plug() {
  plugged_ = true;
  Pump();
}

void TReportDelivery::Pump() {
  if (offer_ || queue_.empty() || !plugged_) return;
  const auto reader = ChooseReader();
  if (!reader) return;
  offer_ = TOffer{*reader, std::move(queue_.front()), false};
  queue_.pop_front();
  port_.Offer(offer_->to, offer_->report);
  port_.StartPatience();
}

// The newest eligible connection; after a patience withdrawal, the next older one (wrapping
// round to the newest).
std::optional<ConnectionId> TReportDelivery::ChooseReader() {
  std::optional<ConnectionId> newest;
  std::optional<ConnectionId> older;
  for (const auto& [id, state] : connections_) {
    if (!state.Eligible()) continue;
    newest = id;
    if (rotate_from_ && id < *rotate_from_) older = id;
  }
  const bool rotating = rotate_from_.has_value();
  rotate_from_.reset();
  return rotating && older ? older : newest;
}

void TReportDelivery::WithdrawOffer() {
  if (offer_->withdrawing) return;
  offer_->withdrawing = true;
  port_.Withdraw(offer_->to);
}

}  // namespace handsetsim
