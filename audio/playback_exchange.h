// The main thread's side of the buffer exchange with the FFT thread: before a play buffer is
// rewritten, wait until the FFT thread is not copying out of one (looking again every 1 ms),
// then hold `writerBusy` until the rewrite is over.
#pragma once

#include "platform/win32.h"
#include "shared/sample_store.h"

class PlayBufferRewrite {
 public:
  PlayBufferRewrite() {
    while (SampleStore.readerBusy.load() == 1) Sleep(1);
    SampleStore.writerBusy = 1;
  }
  ~PlayBufferRewrite() { SampleStore.writerBusy = 0; }
  PlayBufferRewrite(const PlayBufferRewrite&) = delete;
  PlayBufferRewrite& operator=(const PlayBufferRewrite&) = delete;
};
