#include "platform/display/present_observer.h"

#include <atomic>

namespace morvex::display {
namespace {

std::atomic<PresentObserver> installed{nullptr};

}  // namespace

void SetPresentObserver(PresentObserver observer) { installed.store(observer, std::memory_order_release); }

PresentObserver CurrentPresentObserver() { return installed.load(std::memory_order_acquire); }

}  // namespace morvex::display
