#pragma once
// The range of the handset's volume levels, as the track bars, the device and setup.set
// hold them, and the level of a fresh start and of "Default".
constexpr int kVolumeMin = 0;
constexpr int kVolumeMax = 65535;
constexpr int kDefaultVolume = 32767;
