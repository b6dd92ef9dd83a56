#include "platform/wave/header_queue.h"

namespace morvex::wave {

MMRESULT CheckHeader(const WAVEHDR* header, UINT headerSize) {
  if (header == nullptr || headerSize < sizeof(WAVEHDR)) return MMSYSERR_INVALPARAM;
  return MMSYSERR_NOERROR;
}

void MarkPrepared(WAVEHDR* header) { header->dwFlags |= WHDR_PREPARED; }

MMRESULT MarkUnprepared(WAVEHDR* header) {
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags &= ~static_cast<DWORD>(WHDR_PREPARED);
  return MMSYSERR_NOERROR;
}

MMRESULT HeaderQueue::Push(WAVEHDR* header) {
  if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~static_cast<DWORD>(WHDR_DONE);
  header->lpNext = nullptr;
  if (tail_ == nullptr) {
    head_ = header;
  } else {
    tail_->lpNext = header;
  }
  tail_ = header;
  return MMSYSERR_NOERROR;
}

WAVEHDR* HeaderQueue::PopDone() {
  WAVEHDR* header = head_;
  head_ = header->lpNext;
  if (head_ == nullptr) tail_ = nullptr;
  header->lpNext = nullptr;
  header->dwFlags = (header->dwFlags | WHDR_DONE) & ~static_cast<DWORD>(WHDR_INQUEUE);
  return header;
}

}  // namespace morvex::wave
