#include "snapshot/initial_state.h"

#include <algorithm>

namespace pagestow {

void apply_initial_state(SnapshotImage& image) {
  std::ranges::copy(initial_header, image.bytes.begin() + header_offset);
  std::fill_n(image.bytes.begin() + offset_for_address(attributes_address), attributes_size, initial_attribute);
  std::ranges::copy(initial_system_block, image.bytes.begin() + offset_for_address(system_block_address));
}

}  // namespace pagestow
