#include "logging/mask_widening.h"

#include <cstdint>

namespace kontura {

int WidenedLeft(int designed_left, int window_width) {
  if (window_width <= kMaskDesignWidth) return designed_left;
  return static_cast<int>(static_cast<int64_t>(designed_left) * window_width / kMaskDesignWidth);
}

}  // namespace kontura
