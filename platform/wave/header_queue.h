// The buffers a device holds, in the order they were given to it, and the header flag rules
// that winmm applies to them. The queue is linked through the headers' own lpNext fields, so
// queueing allocates nothing.
#pragma once

#include "platform/win32/mmsystem.h"

namespace morvex::wave {

// MMSYSERR_INVALPARAM for a missing or too small header.
MMRESULT CheckHeader(const WAVEHDR* header, UINT headerSize);
void MarkPrepared(WAVEHDR* header);
// WAVERR_STILLPLAYING while the header is queued.
MMRESULT MarkUnprepared(WAVEHDR* header);

class HeaderQueue {
 public:
  bool Empty() const { return head_ == nullptr; }
  WAVEHDR* Front() const { return head_; }
  WAVEHDR* Back() const { return tail_; }

  // Queues a prepared header that is not queued yet (WAVERR_UNPREPARED, WAVERR_STILLPLAYING
  // otherwise): WHDR_INQUEUE set, WHDR_DONE cleared.
  MMRESULT Push(WAVEHDR* header);
  // Takes the oldest header out: WHDR_DONE set, WHDR_INQUEUE cleared.
  WAVEHDR* PopDone();

 private:
  WAVEHDR* head_ = nullptr;
  WAVEHDR* tail_ = nullptr;
};

}  // namespace morvex::wave
