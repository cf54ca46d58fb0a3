#include "panel/key_repeat.h"

std::vector<TKeyEvent> KeyRepeatEvents(std::uint8_t previous, std::uint8_t current) {
  if (current == previous) return {{current, TKeyEventKind::Repeat}};
  if (previous == 0) return {{current, TKeyEventKind::Press}};
  if (current == 0) return {{previous, TKeyEventKind::Release}};
  return {{previous, TKeyEventKind::Release}, {current, TKeyEventKind::Press}};
}
