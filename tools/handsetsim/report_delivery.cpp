#include "tools/handsetsim/report_delivery.h"

#include <utility>

namespace handsetsim {

const char* kindName(ReportDelivery::Kind kind) {
    switch (kind) {
    case ReportDelivery::Kind::Reader: return "reader";
    case ReportDelivery::Kind::Query: return "query";
    default: return "idle";
    }
}

void ReportDelivery::queue(Bytes report) {
    if (!plugged_) return;
    queue_.push_back(std::move(report));
    pump();
}

void ReportDelivery::connected(ConnectionId connection) {
    connections_[connection] = Connection{};
    rotateFrom_.reset();
    // The newest connection is the likeliest reader: move a pending offer to it.
    if (offer_ && offer_->to != connection) withdrawOffer();
    pump();
}

void ReportDelivery::wrote(ConnectionId connection) {
    const auto it = connections_.find(connection);
    if (it == connections_.end()) return;
    it->second.kind = Kind::Query;
    if (offer_ && offer_->to == connection) withdrawOffer();
}

ReportDelivery::Ended ReportDelivery::offerEnded(ConnectionId connection, bool delivered) {
    Ended ended;
    if (!offer_ || offer_->to != connection) return ended;
    port_.stopPatience();
    Bytes report = std::move(offer_->report);
    const bool withdrawn = offer_->withdrawing;
    offer_.reset();
    const auto it = connections_.find(connection);
    if (delivered) {
        if (it != connections_.end() && it->second.kind == Kind::Idle) it->second.kind = Kind::Reader;
        ended.delivered = std::move(report);
    } else {
        if (!withdrawn && it != connections_.end()) it->second.broken = true;
        if (plugged_) queue_.push_front(std::move(report));
        else ended.dropped = std::move(report);
    }
    pump();
    return ended;
}

std::optional<ReportDelivery::Closed> ReportDelivery::disconnected(ConnectionId connection) {
    const auto it = connections_.find(connection);
    if (it == connections_.end()) return std::nullopt;
    Closed closed;
    closed.kind = it->second.kind;
    it->second.broken = true;
    if (offer_ && offer_->to == connection) closed.ended = offerEnded(connection, false);
    connections_.erase(connection);
    pump();
    return closed;
}

void ReportDelivery::patienceExpired() {
    if (!offer_ || offer_->withdrawing) return;
    for (const auto& [id, state] : connections_) {
        if (id != offer_->to && state.eligible()) {
            rotateFrom_ = offer_->to;
            withdrawOffer();
            return;
        }
    }
}

std::vector<Bytes> ReportDelivery::unplug() {
    plugged_ = false;
    for (auto& entry : connections_) entry.second.broken = true;
    if (offer_) withdrawOffer();
    std::vector<Bytes> dropped(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
    queue_.clear();
    return dropped;
}

void ReportDelivery::plug() {
    plugged_ = true;
    pump();
}

void ReportDelivery::pump() {
    if (offer_ || queue_.empty() || !plugged_) return;
    const auto reader = chooseReader();
    if (!reader) return;
    offer_ = Offer{*reader, std::move(queue_.front()), false};
    queue_.pop_front();
    port_.offer(offer_->to, offer_->report);
    port_.startPatience();
}

// The newest eligible connection; after a patience withdrawal, the next older one (wrapping
// round to the newest).
std::optional<ConnectionId> ReportDelivery::chooseReader() {
    std::optional<ConnectionId> newest;
    std::optional<ConnectionId> older;
    for (const auto& [id, state] : connections_) {
        if (!state.eligible()) continue;
        newest = id;
        if (rotateFrom_ && id < *rotateFrom_) older = id;
    }
    const bool rotating = rotateFrom_.has_value();
    rotateFrom_.reset();
    return rotating && older ? older : newest;
}

void ReportDelivery::withdrawOffer() {
    if (offer_->withdrawing) return;
    offer_->withdrawing = true;
    port_.withdraw(offer_->to);
}

}  // namespace handsetsim
