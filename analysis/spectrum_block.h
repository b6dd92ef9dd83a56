// Filling the analysis block: the samples now heard, copied out of a play buffer (with the
// channel copies for the vectorscope and waveform views), decimated, or taken from the live
// input's staging area.
#pragma once

#include <atomic>
#include <cstdint>

// How the frames of the source are laid out; fixed for the life of an FFT thread.
struct FrameLayout {
  int32_t channels = 0;
  int32_t bitsPerSample = 0;
  int32_t blockAlign = 0;  // bytes per frame
};

// Which view copies a copy pass fills besides the block.
enum class ViewCopy : int32_t {
  None,       // no view wants them
  Left,       // ViewLeft: the waveform view (first channel, or the only one)
  LeftRight,  // ViewLeft and ViewRight: the vectorscope (two channels)
};

// Two channels feed the vectorscope while it runs, else the waveform view with the first channel;
// one channel feeds the waveform view.
ViewCopy ViewCopyFor(int32_t channels, int32_t vswindowstop, int32_t wavwindowstop);

// Copies the first channel of consecutive frames of a play buffer, from byte `offset` on, into
// block[taken], block[taken+1] ... until `count` samples are there or the buffer ends (a frame
// must start before byte 127999). 16-bit samples are signed little-endian, 8-bit samples unsigned
// around 128. The views get the same indices while they have room. Only 1- and 2-channel sources
// of 8 or 16 bits are read; others, a null buffer or an offset outside it give nothing. Returns
// the new number of samples taken. Reads through PlayBufferLoad: the main thread may be refilling
// the buffer meanwhile.
int32_t CopyPlayedFrames(const char* bytes, int32_t offset, const FrameLayout& layout, ViewCopy views, int32_t* block,
                         int32_t taken, int32_t count);

// Keeps every d-th of the first m·d samples: block[i] = block[i·d] for i < m, then zeros up to n.
void DecimateBlock(int32_t* block, int32_t m, int32_t n, int32_t d);

// A block of live input: block[i] for i < m is the signed 16-bit sample whose low byte is the low
// byte of stage[2i] and whose high byte that of stage[2i+1]; ViewLeft gets the same samples. m is
// held to what the staging area holds.
void CopyInputBlock(const std::atomic<int32_t>* stage, int32_t m, int32_t* block);
