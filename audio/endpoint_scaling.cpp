#include "audio/endpoint_scaling.h"

#include <algorithm>
#include <cmath>

#include "audio/handset_volume_view.h"

float VolumeToScalar(int volume) {
  const int clamped = std::clamp(volume, kHandsetVolumeMin, kHandsetVolumeMax);
  return static_cast<float>(clamped) / static_cast<float>(kHandsetVolumeMax);
}

int ScalarToVolume(float scalar) {
  if (std::isnan(scalar)) return kHandsetVolumeMin;
  const double clamped = std::clamp(static_cast<double>(scalar), 0.0, 1.0);
  // Nearest, not truncated: a float quotient may land a hair below the whole number.
  return static_cast<int>(std::lround(clamped * kHandsetVolumeMax));
}
