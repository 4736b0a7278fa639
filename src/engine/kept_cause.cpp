// The category of the program's own causes for keeping a file.
#include "engine/kept_cause.h"

#include <string>

namespace tarnwipe {
namespace {

class KeptCategoryImpl : public std::error_category {
 public:
  const char* name() const noexcept override { return "tarnwipe"; }
  std::string message(int iCause) const override {
    switch (static_cast<KeptCause>(iCause)) {
      case KeptCause::kReplaced:
        return "replaced during the erase";
      case KeptCause::kChangedMeanwhile:
        return "changed by another program during the erase";
      case KeptCause::kNoPassCount:
        return "the pass count is no number";
      case KeptCause::kNameFixed:
        return "its name cannot be removed from its folder (not writable to you, immutable or append-only); "
               "nothing was overwritten";
      case KeptCause::kNoRoomForHoles:
        return "writing over its holes needs more room than the disk has; nothing was overwritten";
    }
    return "unknown cause";
  }
};

}  // namespace

const std::error_category& KeptCategory() {
  static const KeptCategoryImpl category;
  return category;
}

}  // namespace tarnwipe
