// The component check: each group of element factories in turn, the first missing group decides.
#include "core/engine/ComponentCheck.h"

#include <span>

namespace vx {

int CheckComponentElements(const std::function<bool(const std::string& factory)>& available) {
  const std::span<const char* const> groups[] = {kSourceElements, kVideoDecoderElements, kAudioDecoderElements,
                                                 kBrightnessElements};
  int code = -1;
  for (const auto& group : groups) {
    for (const char* factory : group)
      if (!available(factory)) return code;
    --code;
  }
  return 1;
}

}  // namespace vx
