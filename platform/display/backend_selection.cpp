#include <atomic>
#include <memory>
#include <mutex>

#include "platform/display/display_backend.h"
#include "platform/display/memory_display.h"

namespace morvex::display {
namespace {

std::mutex selectionMutex;
std::unique_ptr<DisplayBackend> installed;
std::atomic<DisplayBackend*> current{nullptr};

}  // namespace

DisplayBackend& Backend() {
  if (DisplayBackend* backend = current.load(std::memory_order_acquire)) return *backend;
  std::lock_guard lock(selectionMutex);
  if (!installed) installed = std::make_unique<MemoryDisplay>();
  current.store(installed.get(), std::memory_order_release);
  return *installed;
}

void InstallBackend(DisplayBackend* backend) {
  std::lock_guard lock(selectionMutex);
  installed.reset(backend);
  current.store(backend, std::memory_order_release);
}

}  // namespace morvex::display
