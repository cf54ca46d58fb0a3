#include <gtest/gtest.h>

#include <optional>
#include <utility>
#include <vector>

#include "tools/handsetsim/report_delivery.h"

namespace handsetsim {
namespace {

// Records what the delivery asks of the pipes; a test then plays the pipes' answers.
class FakeDeliveryPort : public ReportDelivery::Port {
public:
    void offer(ConnectionId connection, const Bytes& report) override { offers.emplace_back(connection, report); }
    void withdraw(ConnectionId connection) override { withdrawals.push_back(connection); }
    void startPatience() override { patience = true; }
    void stopPatience() override { patience = false; }

    std::pair<ConnectionId, Bytes> lastOffer() const { return offers.back(); }

    std::vector<std::pair<ConnectionId, Bytes>> offers;
    std::vector<ConnectionId> withdrawals;
    bool patience = false;
};

Bytes key(std::uint8_t k) { return Bytes{0, 0, 0, k, 0}; }

class HandsetsimDelivery : public ::testing::Test {
protected:
    // A reader reads what it is offered, then goes, as the bridge's read thread does.
    std::optional<Bytes> readAndClose(ConnectionId reader) {
        EXPECT_EQ(port.lastOffer().first, reader);
        const auto ended = delivery.offerEnded(reader, true);
        delivery.disconnected(reader);
        return ended.delivered;
    }

    FakeDeliveryPort port;
    ReportDelivery delivery{port};
};

TEST_F(HandsetsimDelivery, KeepsReportsUntilAReaderComesAndHandsThemOutInOrder) {
    delivery.queue(key(1));
    delivery.queue(key(2));
    delivery.queue(key(3));
    EXPECT_TRUE(port.offers.empty());

    // Each reader in turn, one report each; the last one gets no more than it reads.
    std::vector<Bytes> read;
    for (ConnectionId reader = 10; reader < 13; ++reader) {
        delivery.connected(reader);
        read.push_back(*readAndClose(reader));
    }
    EXPECT_EQ(read, (std::vector<Bytes>{key(1), key(2), key(3)}));
    EXPECT_EQ(delivery.queued(), 0u);
}

TEST_F(HandsetsimDelivery, OffersOneReportAtATime) {
    delivery.connected(1);
    delivery.connected(2);
    delivery.queue(key(1));
    delivery.queue(key(2));
    ASSERT_EQ(port.offers.size(), 1u);
    EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{2}, key(1)));
    EXPECT_TRUE(port.patience);
    EXPECT_EQ(delivery.queued(), 1u);
}

TEST_F(HandsetsimDelivery, AQueryConnectionNeverGetsAReport) {
    // The manager connects first and the report goes to it, being the only connection ...
    delivery.queue(key(7));
    delivery.connected(1);
    ASSERT_EQ(port.lastOffer().first, 1u);
    // ... until it writes its query: the offer is withdrawn and waits for a reader.
    delivery.wrote(1);
    EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
    EXPECT_FALSE(delivery.offerEnded(1, false).delivered.has_value());
    EXPECT_EQ(port.offers.size(), 1u);
    EXPECT_FALSE(port.patience);

    delivery.connected(2);
    EXPECT_EQ(readAndClose(2), key(7));
    // Later reports skip the query connection even when it is the only one.
    delivery.queue(key(8));
    EXPECT_EQ(port.offers.size(), 2u);
    delivery.connected(3);
    EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{3}, key(8)));
    const auto closed = delivery.disconnected(1);
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(closed->kind, ReportDelivery::Kind::Query);
}

TEST_F(HandsetsimDelivery, AReportThatFailsGoesBackToTheFrontAndTheConnectionIsDone) {
    delivery.connected(1);
    delivery.queue(key(1));
    delivery.queue(key(2));
    // The client went away before reading: the write fails without being withdrawn.
    delivery.offerEnded(1, false);
    EXPECT_EQ(port.offers.size(), 1u);  // not offered to the dead connection again
    delivery.connected(2);
    EXPECT_EQ(readAndClose(2), key(1));
    delivery.connected(3);
    EXPECT_EQ(readAndClose(3), key(2));
}

TEST_F(HandsetsimDelivery, APendingOfferMovesToANewerConnection) {
    delivery.connected(1);
    delivery.queue(key(1));
    delivery.connected(2);
    EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
    // The withdrawal lost the race: connection 1 had read it. It counts, once.
    EXPECT_EQ(delivery.offerEnded(1, true).delivered, key(1));
    EXPECT_EQ(port.offers.size(), 1u);

    delivery.queue(key(2));
    EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{2}, key(2)));
    delivery.connected(3);
    delivery.offerEnded(2, false);  // withdrawn in time
    EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{3}, key(2)));
}

TEST_F(HandsetsimDelivery, PatienceTriesTheOtherConnectionsInTurn) {
    delivery.connected(1);
    delivery.connected(2);
    delivery.connected(3);
    delivery.queue(key(1));
    ASSERT_EQ(port.lastOffer().first, 3u);
    // Connection 3 neither reads nor writes.
    delivery.patienceExpired();
    delivery.offerEnded(3, false);
    EXPECT_EQ(port.lastOffer().first, 2u);
    delivery.patienceExpired();
    delivery.offerEnded(2, false);
    EXPECT_EQ(port.lastOffer().first, 1u);
    delivery.patienceExpired();
    delivery.offerEnded(1, false);
    EXPECT_EQ(port.lastOffer().first, 3u);  // round again
    EXPECT_EQ(port.withdrawals, (std::vector<ConnectionId>{3, 2, 1}));

    // Alone, a connection keeps the offer however long it takes.
    delivery.disconnected(1);
    delivery.disconnected(2);
    delivery.patienceExpired();
    EXPECT_EQ(port.withdrawals.size(), 3u);
}

TEST_F(HandsetsimDelivery, UnplugDropsWhatWasNotRead) {
    delivery.connected(1);
    delivery.queue(key(1));
    delivery.queue(key(2));
    delivery.queue(key(3));
    EXPECT_EQ(delivery.unplug(), (std::vector<Bytes>{key(2), key(3)}));
    EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
    const auto closed = delivery.disconnected(1);
    ASSERT_TRUE(closed.has_value());
    EXPECT_EQ(closed->ended.dropped, key(1));
    EXPECT_EQ(closed->kind, ReportDelivery::Kind::Idle);

    delivery.queue(key(4));  // nothing comes from an unplugged device
    EXPECT_EQ(delivery.queued(), 0u);

    delivery.plug();
    delivery.connected(2);
    delivery.queue(key(5));
    EXPECT_EQ(readAndClose(2), key(5));
}

TEST_F(HandsetsimDelivery, ConnectionsFromBeforeAnUnplugGetNothing) {
    delivery.connected(1);
    delivery.unplug();
    delivery.plug();
    delivery.queue(key(1));
    EXPECT_TRUE(port.offers.empty());
    delivery.connected(2);
    EXPECT_EQ(port.lastOffer().first, 2u);
    EXPECT_FALSE(delivery.disconnected(99).has_value());
}

}  // namespace
}  // namespace handsetsim
