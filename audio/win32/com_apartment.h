#pragma once
// COM on the calling thread (a single-threaded apartment, as a window thread needs) for as
// long as this object lives. Everything obtained through COM must be released before it goes.
class TComApartment {
 public:
  TComApartment();
  ~TComApartment();
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

  // False when COM could not be started here (the endpoint path then stays off).
  bool Ready() const { return ready_; }

 private:
  bool ready_ = false;
};
