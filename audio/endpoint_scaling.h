#pragma once
// The panel's volumes (0..65535, the track bars' range) as an endpoint's master volume
// scalar (0.0..1.0), linearly as Windows' own volume slider; every volume survives the way
// there and back unchanged.
#include <cstdint>

float VolumeToScalar(int volume);          // clamps into 0..65535 first
int ScalarToVolume(float scalar);          // clamps into 0.0..1.0 first; NaN gives 0
