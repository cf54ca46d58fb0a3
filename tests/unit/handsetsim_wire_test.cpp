#include <gtest/gtest.h>

#include "tools/handsetsim/bytes.h"
#include "tools/handsetsim/device_config.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim {
namespace {

TDeviceRecord sampleRecord(int number = 1) {
  TDeviceConfig config;
  config.number = number;
  config.vendor_id = 0x0c45;
  config.product_id = 0x1234;
  config.usage_page = 0x01;
  config.usage = 0x06;
  config.input_length = 9;
  config.output_length = 3;
  config.version = 0x0210;
  return TDeviceRecord{config, DevicePipePath("sim-1", config)};
}

TEST(HandsetsimBytes, ParsesHexAndComparesPrefixes) {
  EXPECT_EQ(ParseHexBytes({"00", "1B0c"}), (Bytes{0x00, 0x1b, 0x0c}));
  EXPECT_FALSE(ParseHexBytes({"0"}).has_value());
  EXPECT_FALSE(ParseHexBytes({"0x01"}).has_value());
  EXPECT_TRUE(StartsWith({1, 2, 3}, {1, 2}));
  EXPECT_TRUE(StartsWith({1, 2, 3}, {}));
  EXPECT_FALSE(StartsWith({1, 2}, {1, 2, 3}));
  EXPECT_FALSE(StartsWith({1, 2, 3}, {2}));
}

TEST(HandsetsimDevice, InputReportCarriesTheKeyInByteThree) {
  TDeviceConfig config;
  config.input_length = 6;
  EXPECT_EQ(InputReport(config, 0x1b), (Bytes{0, 0, 0, 0x1b, 0, 0}));
}

TEST(HandsetsimDevice, PathsAreUnderThePipeBase) {
  EXPECT_EQ(ControlPipePath("handsetsim"), "\\\\.\\pipe\\handsetsim");
  EXPECT_EQ(sampleRecord(2).path, "\\\\.\\pipe\\sim-1.hid#vid_0c45&pid_1234#2");
  EXPECT_TRUE(ValidPipeBase("test_sim-2.a"));
  for (const char* bad : {"", "a b", "a\\b", "a/b", "a#b"}) EXPECT_FALSE(ValidPipeBase(bad)) << bad;
  EXPECT_FALSE(ValidPipeBase(std::string(65, 'a')));
}

TEST(HandsetsimDevice, RecordsReadBackWhatWasWritten) {
  const TDeviceRecord record = sampleRecord();
  EXPECT_EQ(ParseRecord(RecordText(record)), record);
  for (const char* bad : {"", "dev=1", "dev=0 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p",
                          "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=3 out=1 path=p",
                          "dev=1 vid=0x10000 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p",
                          "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=",
                          "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p extra=1",
                          "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p word"}) {
    EXPECT_FALSE(ParseRecord(bad).has_value()) << bad;
  }
}

TEST(HandsetsimWire, QueryMessagesCarryTheirTokenAndAreNoOutputReport) {
  const std::uint64_t token = MakeToken(0xFFFFFFFF, 0x89ABCDEF);
  EXPECT_LT(token, std::uint64_t{1} << 63);
  EXPECT_NE(MakeToken(1, 2), MakeToken(2, 1));
  const Bytes message = QueryMessage(token);
  EXPECT_EQ(message.size(), kQueryMessageSize);
  EXPECT_EQ(ParseQueryMessage(message), token);

  // What the bridge writes is a report starting with report id 0, whatever its length.
  Bytes report(kQueryMessageSize, 0);
  EXPECT_FALSE(ParseQueryMessage(report).has_value());
  Bytes longer = message;
  longer.push_back(0);
  EXPECT_FALSE(ParseQueryMessage(longer).has_value());
  Bytes changed = message;
  changed[3] ^= 1;
  EXPECT_FALSE(ParseQueryMessage(changed).has_value());
}

TEST(HandsetsimWire, RequestsReadBack) {
  const TControlRequest list = ParseRequest(ListRequest(4242));
  EXPECT_EQ(list.kind, TRequestKind::List);
  EXPECT_EQ(list.process, 4242u);
  EXPECT_EQ(ParseRequest(ListenRequest(7)).kind, TRequestKind::Listen);

  const std::uint64_t token = MakeToken(4242, 9);
  const TControlRequest identify = ParseRequest(IdentifyRequest(4242, token));
  EXPECT_EQ(identify.kind, TRequestKind::Identify);
  EXPECT_EQ(identify.token, token);

  const TControlRequest delivered = ParseRequest(DeliveredNotice(3, TDeviceChange::Removal, 2));
  EXPECT_EQ(delivered.kind, TRequestKind::Delivered);
  EXPECT_EQ(delivered.device, 3);
  EXPECT_EQ(delivered.change, TDeviceChange::Removal);
  EXPECT_EQ(delivered.messages, 2u);

  for (const char* bad :
       {"", "list", "list process=x", "list process=1 more=2", "identify process=1", "identify process=1 token=-1",
        "listen process=1 process=2", "delivered dev=1 change=sideways messages=1",
        "delivered dev=0 change=arrival messages=1", "hello process=1"}) {
    EXPECT_EQ(ParseRequest(bad).kind, TRequestKind::Invalid) << bad;
  }
}

TEST(HandsetsimWire, RepliesAndEventsReadBack) {
  const std::vector<TDeviceRecord> two = {sampleRecord(1), sampleRecord(2)};
  EXPECT_EQ(ParseListReply(ListReply(two)), two);
  EXPECT_EQ(ParseListReply(ListReply({})), std::vector<TDeviceRecord>{});
  // A count that does not match the records, or a bad record, is no list at all.
  EXPECT_FALSE(ParseListReply("devices 2\n" + RecordText(two[0])).has_value());
  EXPECT_FALSE(ParseListReply("devices 1\ndev=1").has_value());
  EXPECT_FALSE(ParseListReply("error").has_value());

  EXPECT_EQ(ParseIdentifyReply(IdentifyReply(two[1])), two[1]);
  EXPECT_FALSE(ParseIdentifyReply(IdentifyReply(std::nullopt)).has_value());
  EXPECT_FALSE(ParseIdentifyReply("device").has_value());

  for (TDeviceChange change : {TDeviceChange::Arrival, TDeviceChange::Removal}) {
    const auto event = ParseDeviceEvent(DeviceEventText(TDeviceEvent{change, two[0]}));
    ASSERT_TRUE(event.has_value());
    EXPECT_EQ(event->change, change);
    EXPECT_EQ(event->device, two[0]);
  }
  EXPECT_FALSE(ParseDeviceEvent("arrival dev=1").has_value());
  EXPECT_FALSE(ParseDeviceEvent("departure " + RecordText(two[0])).has_value());
}

}  // namespace
}  // namespace handsetsim
