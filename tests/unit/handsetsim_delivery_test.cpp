#include <gtest/gtest.h>
#include <optional>
#include <utility>
#include <vector>

#include "tools/handsetsim/report_delivery.h"

namespace handsetsim {
namespace {

// Records what the delivery asks of the pipes; a test then plays the pipes' answers.
class FakeDeliveryPort : public TReportDelivery::IPort {
 public:
  void Offer(ConnectionId connection, const Bytes& report) override { offers.emplace_back(connection, report); }
  void Withdraw(ConnectionId connection) override { withdrawals.push_back(connection); }
  void StartPatience() override { patience = true; }
  void StopPatience() override { patience = false; }

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
    const auto ended = delivery.OfferEnded(reader, true);
    delivery.Disconnected(reader);
    return ended.delivered;
  }

  FakeDeliveryPort port;
  TReportDelivery delivery{port};
};

TEST_F(HandsetsimDelivery, KeepsReportsUntilAReaderComesAndHandsThemOutInOrder) {
  delivery.Queue(key(1));
  delivery.Queue(key(2));
  delivery.Queue(key(3));
  EXPECT_TRUE(port.offers.empty());

  // Each reader in turn, one report each; the last one gets no more than it reads.
  std::vector<Bytes> read;
  for (ConnectionId reader = 10; reader < 13; ++reader) {
    delivery.Connected(reader);
    read.push_back(*readAndClose(reader));
  }
  EXPECT_EQ(read, (std::vector<Bytes>{key(1), key(2), key(3)}));
  EXPECT_EQ(delivery.Queued(), 0u);
}

TEST_F(HandsetsimDelivery, OffersOneReportAtATime) {
  delivery.Connected(1);
  delivery.Connected(2);
  delivery.Queue(key(1));
  delivery.Queue(key(2));
  ASSERT_EQ(port.offers.size(), 1u);
  EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{2}, key(1)));
  EXPECT_TRUE(port.patience);
  EXPECT_EQ(delivery.Queued(), 1u);
}

TEST_F(HandsetsimDelivery, AQueryConnectionNeverGetsAReport) {
  // The manager connects first and the report goes to it, being the only connection ...
  delivery.Queue(key(7));
  delivery.Connected(1);
  ASSERT_EQ(port.lastOffer().first, 1u);
  // ... until it writes its query: the offer is withdrawn and waits for a reader.
  delivery.Wrote(1);
  EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
  EXPECT_FALSE(delivery.OfferEnded(1, false).delivered.has_value());
  EXPECT_EQ(port.offers.size(), 1u);
  EXPECT_FALSE(port.patience);

  delivery.Connected(2);
  EXPECT_EQ(readAndClose(2), key(7));
  // Later reports skip the query connection even when it is the only one.
  delivery.Queue(key(8));
  EXPECT_EQ(port.offers.size(), 2u);
  delivery.Connected(3);
  EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{3}, key(8)));
  const auto closed = delivery.Disconnected(1);
  ASSERT_TRUE(closed.has_value());
  EXPECT_EQ(closed->kind, TReportDelivery::TKind::Query);
}

TEST_F(HandsetsimDelivery, AReportThatFailsGoesBackToTheFrontAndTheConnectionIsDone) {
  delivery.Connected(1);
  delivery.Queue(key(1));
  delivery.Queue(key(2));
  // The client went away before reading: the write fails without being withdrawn.
  delivery.OfferEnded(1, false);
  EXPECT_EQ(port.offers.size(), 1u);  // not offered to the dead connection again
  delivery.Connected(2);
  EXPECT_EQ(readAndClose(2), key(1));
  delivery.Connected(3);
  EXPECT_EQ(readAndClose(3), key(2));
}

TEST_F(HandsetsimDelivery, APendingOfferMovesToANewerConnection) {
  delivery.Connected(1);
  delivery.Queue(key(1));
  delivery.Connected(2);
  EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
  // The withdrawal lost the race: connection 1 had read it. It counts, once.
  EXPECT_EQ(delivery.OfferEnded(1, true).delivered, key(1));
  EXPECT_EQ(port.offers.size(), 1u);

  delivery.Queue(key(2));
  EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{2}, key(2)));
  delivery.Connected(3);
  delivery.OfferEnded(2, false);  // withdrawn in time
  EXPECT_EQ(port.lastOffer(), std::make_pair(ConnectionId{3}, key(2)));
}

TEST_F(HandsetsimDelivery, PatienceTriesTheOtherConnectionsInTurn) {
  delivery.Connected(1);
  delivery.Connected(2);
  delivery.Connected(3);
  delivery.Queue(key(1));
  ASSERT_EQ(port.lastOffer().first, 3u);
  // Connection 3 neither reads nor writes.
  delivery.PatienceExpired();
  delivery.OfferEnded(3, false);
  EXPECT_EQ(port.lastOffer().first, 2u);
  delivery.PatienceExpired();
  delivery.OfferEnded(2, false);
  EXPECT_EQ(port.lastOffer().first, 1u);
  delivery.PatienceExpired();
  delivery.OfferEnded(1, false);
  EXPECT_EQ(port.lastOffer().first, 3u);  // round again
  EXPECT_EQ(port.withdrawals, (std::vector<ConnectionId>{3, 2, 1}));

  // Alone, a connection keeps the offer however long it takes.
  delivery.Disconnected(1);
  delivery.Disconnected(2);
  delivery.PatienceExpired();
  EXPECT_EQ(port.withdrawals.size(), 3u);
}

TEST_F(HandsetsimDelivery, UnplugDropsWhatWasNotRead) {
  delivery.Connected(1);
  delivery.Queue(key(1));
  delivery.Queue(key(2));
  delivery.Queue(key(3));
  EXPECT_EQ(delivery.Unplug(), (std::vector<Bytes>{key(2), key(3)}));
  EXPECT_EQ(port.withdrawals, std::vector<ConnectionId>{1});
  const auto closed = delivery.Disconnected(1);
  ASSERT_TRUE(closed.has_value());
  EXPECT_EQ(closed->ended.dropped, key(1));
  EXPECT_EQ(closed->kind, TReportDelivery::TKind::Idle);

  delivery.Queue(key(4));  // nothing comes from an unplugged device
  EXPECT_EQ(delivery.Queued(), 0u);

  delivery.Plug();
  delivery.Connected(2);
  delivery.Queue(key(5));
  EXPECT_EQ(readAndClose(2), key(5));
}

TEST_F(HandsetsimDelivery, ConnectionsFromBeforeAnUnplugGetNothing) {
  delivery.Connected(1);
  delivery.Unplug();
  delivery.Plug();
  delivery.Queue(key(1));
  EXPECT_TRUE(port.offers.empty());
  delivery.Connected(2);
  EXPECT_EQ(port.lastOffer().first, 2u);
  EXPECT_FALSE(delivery.Disconnected(99).has_value());
}

}  // namespace
}  // namespace handsetsim
