#pragma once
// A track bar's range and position: the position always lies within Min..Max, and a change
// is reported only when the position really moves.

class TTrackBarPosition {
 public:
  int Position() const { return position_; }
  int Min() const { return min_; }
  int Max() const { return max_; }

  // Each returns true when the position moved.
  bool SetPosition(int position);
  // A new end drags the position (and, if they cross, the other end) along.
  bool SetMin(int min);
  bool SetMax(int max);

 private:
  bool Clamp();

  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
};
