#include "skin/track_bar_position.h"

#include <algorithm>

bool TTrackBarPosition::SetPosition(int position) {
  const int clamped = std::clamp(position, min_, max_);
  if (clamped == position_) return false;
  position_ = clamped;
  return true;
}

bool TTrackBarPosition::SetMin(int min) {
  min_ = min;
  if (max_ < min_) max_ = min_;
  return Clamp();
}

bool TTrackBarPosition::SetMax(int max) {
  max_ = max;
  if (min_ > max_) min_ = max_;
  return Clamp();
}

bool TTrackBarPosition::Clamp() { return SetPosition(position_); }
