#include <gtest/gtest.h>

#include "tools/handsetsim/bytes.h"
#include "tools/handsetsim/device_config.h"
#include "tools/handsetsim/wire.h"

namespace handsetsim {
namespace {

DeviceRecord sampleRecord(int number = 1) {
    DeviceConfig config;
    config.number = number;
    config.vendorId = 0x0c45;
    config.productId = 0x1234;
    config.usagePage = 0x01;
    config.usage = 0x06;
    config.inputLength = 9;
    config.outputLength = 3;
    config.version = 0x0210;
    return DeviceRecord{config, devicePipePath("sim-1", config)};
}

TEST(HandsetsimBytes, ParsesHexAndComparesPrefixes) {
    EXPECT_EQ(parseHexBytes({"00", "1B0c"}), (Bytes{0x00, 0x1b, 0x0c}));
    EXPECT_FALSE(parseHexBytes({"0"}).has_value());
    EXPECT_FALSE(parseHexBytes({"0x01"}).has_value());
    EXPECT_TRUE(startsWith({1, 2, 3}, {1, 2}));
    EXPECT_TRUE(startsWith({1, 2, 3}, {}));
    EXPECT_FALSE(startsWith({1, 2}, {1, 2, 3}));
    EXPECT_FALSE(startsWith({1, 2, 3}, {2}));
}

TEST(HandsetsimDevice, InputReportCarriesTheKeyInByteThree) {
    DeviceConfig config;
    config.inputLength = 6;
    EXPECT_EQ(inputReport(config, 0x1b), (Bytes{0, 0, 0, 0x1b, 0, 0}));
}

TEST(HandsetsimDevice, PathsAreUnderThePipeBase) {
    EXPECT_EQ(controlPipePath("handsetsim"), "\\\\.\\pipe\\handsetsim");
    EXPECT_EQ(sampleRecord(2).path, "\\\\.\\pipe\\sim-1.hid#vid_0c45&pid_1234#2");
    EXPECT_TRUE(validPipeBase("test_sim-2.a"));
    for (const char* bad : {"", "a b", "a\\b", "a/b", "a#b"}) EXPECT_FALSE(validPipeBase(bad)) << bad;
    EXPECT_FALSE(validPipeBase(std::string(65, 'a')));
}

TEST(HandsetsimDevice, RecordsReadBackWhatWasWritten) {
    const DeviceRecord record = sampleRecord();
    EXPECT_EQ(parseRecord(recordText(record)), record);
    for (const char* bad : {
             "", "dev=1", "dev=0 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p",
             "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=3 out=1 path=p",
             "dev=1 vid=0x10000 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p",
             "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=",
             "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p extra=1",
             "dev=1 vid=1 pid=1 version=1 usagepage=1 usage=1 in=5 out=1 path=p word"}) {
        EXPECT_FALSE(parseRecord(bad).has_value()) << bad;
    }
}

TEST(HandsetsimWire, QueryMessagesCarryTheirTokenAndAreNoOutputReport) {
    const std::uint64_t token = makeToken(0xFFFFFFFF, 0x89ABCDEF);
    EXPECT_LT(token, std::uint64_t{1} << 63);
    EXPECT_NE(makeToken(1, 2), makeToken(2, 1));
    const Bytes message = queryMessage(token);
    EXPECT_EQ(message.size(), kQueryMessageSize);
    EXPECT_EQ(parseQueryMessage(message), token);

    // What the bridge writes is a report starting with report id 0, whatever its length.
    Bytes report(kQueryMessageSize, 0);
    EXPECT_FALSE(parseQueryMessage(report).has_value());
    Bytes longer = message;
    longer.push_back(0);
    EXPECT_FALSE(parseQueryMessage(longer).has_value());
    Bytes changed = message;
    changed[3] ^= 1;
    EXPECT_FALSE(parseQueryMessage(changed).has_value());
}

TEST(HandsetsimWire, RequestsReadBack) {
    const ControlRequest list = parseRequest(listRequest(4242));
    EXPECT_EQ(list.kind, RequestKind::List);
    EXPECT_EQ(list.process, 4242u);
    EXPECT_EQ(parseRequest(listenRequest(7)).kind, RequestKind::Listen);

    const std::uint64_t token = makeToken(4242, 9);
    const ControlRequest identify = parseRequest(identifyRequest(4242, token));
    EXPECT_EQ(identify.kind, RequestKind::Identify);
    EXPECT_EQ(identify.token, token);

    const ControlRequest delivered = parseRequest(deliveredNotice(3, DeviceChange::Removal, 2));
    EXPECT_EQ(delivered.kind, RequestKind::Delivered);
    EXPECT_EQ(delivered.device, 3);
    EXPECT_EQ(delivered.change, DeviceChange::Removal);
    EXPECT_EQ(delivered.messages, 2u);

    for (const char* bad : {"", "list", "list process=x", "list process=1 more=2", "identify process=1",
                            "identify process=1 token=-1", "listen process=1 process=2",
                            "delivered dev=1 change=sideways messages=1", "delivered dev=0 change=arrival messages=1",
                            "hello process=1"}) {
        EXPECT_EQ(parseRequest(bad).kind, RequestKind::Invalid) << bad;
    }
}

TEST(HandsetsimWire, RepliesAndEventsReadBack) {
    const std::vector<DeviceRecord> two = {sampleRecord(1), sampleRecord(2)};
    EXPECT_EQ(parseListReply(listReply(two)), two);
    EXPECT_EQ(parseListReply(listReply({})), std::vector<DeviceRecord>{});
    // A count that does not match the records, or a bad record, is no list at all.
    EXPECT_FALSE(parseListReply("devices 2\n" + recordText(two[0])).has_value());
    EXPECT_FALSE(parseListReply("devices 1\ndev=1").has_value());
    EXPECT_FALSE(parseListReply("error").has_value());

    EXPECT_EQ(parseIdentifyReply(identifyReply(two[1])), two[1]);
    EXPECT_FALSE(parseIdentifyReply(identifyReply(std::nullopt)).has_value());
    EXPECT_FALSE(parseIdentifyReply("device").has_value());

    for (DeviceChange change : {DeviceChange::Arrival, DeviceChange::Removal}) {
        const auto event = parseDeviceEvent(deviceEventText(DeviceEvent{change, two[0]}));
        ASSERT_TRUE(event.has_value());
        EXPECT_EQ(event->change, change);
        EXPECT_EQ(event->device, two[0]);
    }
    EXPECT_FALSE(parseDeviceEvent("arrival dev=1").has_value());
    EXPECT_FALSE(parseDeviceEvent("departure " + recordText(two[0])).has_value());
}

}  // namespace
}  // namespace handsetsim
