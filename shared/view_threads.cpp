#include "shared/view_threads.h"

std::atomic<int32_t> threadRestart{0};

namespace {

// One kind's registration and the bookkeeping that keeps its threads one after the other.
struct KindSlot {
  std::atomic<ViewThreadEntry> entry{nullptr};
  std::atomic<ViewThreadWanted> wanted{nullptr};
  std::atomic<uint32_t> latest{0};  // ticket of the newest start of this kind
  std::atomic<int32_t> running{0};  // 1 while a thread of this kind runs its entry
  std::atomic<int32_t> alive{0};    // threads started and not yet ended
};

// In start order.
KindSlot slots[kViewKindCount];

constexpr DWORD kTurnPollMs = 1;
constexpr int kKindBits = 3;  // kViewKindCount fits

// A thread's start argument: its kind and its ticket, packed into the pointer itself so that a
// start allocates nothing.
void* PackStart(int32_t kind, uint32_t ticket) {
  return reinterpret_cast<void*>((static_cast<uintptr_t>(ticket) << kKindBits) | static_cast<uintptr_t>(kind));
}

void ViewThreadMain(void* packed) {
  const auto bits = reinterpret_cast<uintptr_t>(packed);
  KindSlot& slot = slots[bits & ((uintptr_t{1} << kKindBits) - 1)];
  const auto ticket = static_cast<uint32_t>(bits >> kKindBits);
  // Wait for the previous thread of this kind to end; give up the turn to a newer start.
  bool turn = false;
  while (slot.latest.load() == ticket) {
    int32_t idle = 0;
    if (slot.running.compare_exchange_strong(idle, 1)) {
      turn = true;
      break;
    }
    Sleep(kTurnPollMs);
  }
  if (turn) {
    // A newer start may have come while the turn was taken; it then waits for this one.
    const ViewThreadEntry entry = slot.entry.load();
    if (entry && slot.latest.load() == ticket) entry(&threadRestart);
    slot.running = 0;
  }
  slot.alive.fetch_sub(1);
}

void StartKind(int32_t k) {
  KindSlot& slot = slots[k];
  const uint32_t ticket = slot.latest.fetch_add(1) + 1;
  slot.alive.fetch_add(1);
  if (_beginthread(ViewThreadMain, 0, PackStart(k, ticket)) == static_cast<uintptr_t>(-1)) slot.alive.fetch_sub(1);
}

}  // namespace

void RegisterViewThread(ViewKind kind, ViewThreadEntry entry, ViewThreadWanted wanted) {
  KindSlot& slot = slots[static_cast<int32_t>(kind)];
  slot.entry = entry;
  slot.wanted = wanted;
}

void StartViewThreads(ViewStart kind) {
  threadRestart = kind == ViewStart::Creation ? 0 : 1;
  for (int32_t k = 0; k < kViewKindCount; ++k) {
    KindSlot& slot = slots[k];
    const ViewThreadWanted wanted = slot.wanted.load();
    if (!slot.entry.load() || !wanted || !wanted(kind)) continue;
    StartKind(k);
  }
}

void StartViewThread(ViewKind kind) {
  threadRestart = 1;
  if (slots[static_cast<int32_t>(kind)].entry.load()) StartKind(static_cast<int32_t>(kind));
}

int32_t ViewThreadsAlive(ViewKind kind) { return slots[static_cast<int32_t>(kind)].alive.load(); }

bool WaitForViewThreadEnd(ViewKind kind, DWORD timeoutMs) {
  const DWORD start = timeGetTime();
  while (ViewThreadsAlive(kind) != 0) {
    if (timeGetTime() - start >= timeoutMs) return false;
    Sleep(kTurnPollMs);
  }
  return true;
}
