#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <utility>

#include "platform/display/display_backend.h"
#include "platform/display/memory_display.h"
#include "platform/display/qt/desktop_probe.h"
#include "platform/display/qt/qt_display.h"

namespace morvex::display {
namespace {

std::mutex selectionMutex;
std::atomic<DisplayBackend*> current{nullptr};

// The backend lives until the process ends: detached threads (view threads, the signal watcher,
// device threads) may still wake it while exit runs, so it is never destroyed at exit.
std::unique_ptr<DisplayBackend>& Installed() {
  static auto* installed = new std::unique_ptr<DisplayBackend>;
  return *installed;
}

// Qt when the session has a desktop it can open, otherwise the in-memory display.
std::unique_ptr<DisplayBackend> DefaultBackend() {
  if (auto desktop = qt::FindDesktop()) return std::make_unique<qt::QtDisplay>(std::move(*desktop));
  if (qt::DesktopNamed()) {
    std::fprintf(stderr, "morvex: the display named by DISPLAY or WAYLAND_DISPLAY cannot be opened; "
                         "windows are not shown\n");
  }
  return std::make_unique<MemoryDisplay>();
}

}  // namespace

DisplayBackend& Backend() {
  if (DisplayBackend* backend = current.load(std::memory_order_acquire)) return *backend;
  std::lock_guard lock(selectionMutex);
  auto& installed = Installed();
  if (!installed) installed = DefaultBackend();
  current.store(installed.get(), std::memory_order_release);
  return *installed;
}

void InstallBackend(DisplayBackend* backend) {
  std::lock_guard lock(selectionMutex);
  Installed().reset(backend);
  current.store(backend, std::memory_order_release);
}

}  // namespace morvex::display
