#pragma once
// The handset's two sides and the range of their volume levels, as the panel's track bars,
// the volume backends and setup.set hold them.
constexpr int kHandsetVolumeMin = 0;
constexpr int kHandsetVolumeMax = 65535;
constexpr int kHandsetVolumeDefault = 32767;
// One press of the handset's Up or Down key: the track bars' PageSize.
constexpr int kHandsetVolumeStep = 4096;

enum class THandsetSide { Speaker, Microphone };
