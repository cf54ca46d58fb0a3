// Which endpoints are the handset's, and how the track bars' 0..65535 meet the endpoints'
// 0.0..1.0.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/endpoint_scaling.h"
#include "audio/endpoint_search.h"

namespace {

std::vector<TEndpointInfo> Endpoints(std::initializer_list<const char*> names) {
  std::vector<TEndpointInfo> endpoints;
  int n = 0;
  for (const char* name : names) endpoints.push_back({"id" + std::to_string(n++), name});
  return endpoints;
}

std::string Found(const std::vector<TEndpointInfo>& endpoints, const std::string& pattern) {
  const std::optional<TEndpointInfo> found = FindHandsetEndpoint(endpoints, pattern);
  return found ? found->id : "none";
}

}  // namespace

TEST(HandsetEndpointSearch, FirstMatchInEnumerationOrderCaseSensitive) {
  const auto endpoints = Endpoints({"Speakers (Onboard Audio)", "", "Speaker (usb phone)", "Speaker (USB Phone)",
                                    "Speaker (2- USB Phone)"});
  EXPECT_EQ(Found(endpoints, "USB Phone"), "id3");
  EXPECT_EQ(Found(Endpoints({"Speakers (Onboard Audio)"}), "USB Phone"), "none");
  EXPECT_EQ(Found(endpoints, ""), "none");
}

TEST(HandsetEndpointSearch, BareUsbPrefersTheHandsetOverAnEarlierUsbDevice) {
  EXPECT_EQ(Found(Endpoints({"Microphone (USB Camera)", "Microphone (USB Phone)"}), "USB"), "id1");
  // Without a handset-named endpoint the first "USB" one is taken, as the wave search does.
  EXPECT_EQ(Found(Endpoints({"Line In", "Microphone (USB Camera)", "Headset (USB Audio)"}), "USB"), "id1");
  // The refinement belongs to the bare pattern only: "USB Phone" never falls back to "USB".
  EXPECT_EQ(Found(Endpoints({"Microphone (USB Camera)"}), "USB Phone"), "none");
}

TEST(EndpointScaling, EveryVolumeSurvivesTheWayThereAndBack) {
  for (int volume = 0; volume <= 65535; ++volume) {
    ASSERT_EQ(ScalarToVolume(VolumeToScalar(volume)), volume) << volume;
  }
}

TEST(EndpointScaling, ExactAtTheEndsAndTheMiddle) {
  EXPECT_EQ(VolumeToScalar(0), 0.0f);
  EXPECT_EQ(VolumeToScalar(65535), 1.0f);
  EXPECT_FLOAT_EQ(VolumeToScalar(1), 1.0f / 65535.0f);
  EXPECT_FLOAT_EQ(VolumeToScalar(32767), 32767.0f / 65535.0f);
  EXPECT_FLOAT_EQ(VolumeToScalar(65534), 65534.0f / 65535.0f);

  EXPECT_EQ(ScalarToVolume(0.0f), 0);
  EXPECT_EQ(ScalarToVolume(1.0f), 65535);
  // Scalars that another program set land on the nearest volume, not the one below.
  for (int volume : {1, 32767, 65534}) {
    const float exact = static_cast<float>(volume) / 65535.0f;
    EXPECT_EQ(ScalarToVolume(std::nextafter(exact, 0.0f)), volume);
    EXPECT_EQ(ScalarToVolume(std::nextafter(exact, 1.0f)), volume);
  }
  EXPECT_EQ(ScalarToVolume(0.5f), 32768);  // 32767.5 rounds up
  EXPECT_EQ(ScalarToVolume(0.4f / 65535.0f), 0);
  EXPECT_EQ(ScalarToVolume(0.6f / 65535.0f), 1);
}

TEST(EndpointScaling, OutOfRangeValuesAreClamped) {
  EXPECT_EQ(VolumeToScalar(70000), 1.0f);  // a stored value above the track bar's range
  EXPECT_EQ(VolumeToScalar(-5), 0.0f);
  EXPECT_EQ(ScalarToVolume(1.5f), 65535);
  EXPECT_EQ(ScalarToVolume(-0.25f), 0);
  EXPECT_EQ(ScalarToVolume(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(ScalarToVolume(std::numeric_limits<float>::infinity()), 65535);
}
