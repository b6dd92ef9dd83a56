#include "app/view_thread_kinds.h"

#include "analysis/fft_thread.h"
#include "audio/level_meter_thread.h"
#include "shared/view_threads.h"
#include "spectrogram/sg_thread.h"
#include "views/vectorscope_thread.h"
#include "views/waveform_thread.h"

void PlugInViewThreads() {
  RegisterViewThread(ViewKind::LevelMeter, LevelMeterThread, LevelMeterThreadWanted);
  RegisterViewThread(ViewKind::Fft, FftThread, FftThreadWanted);
  RegisterViewThread(ViewKind::Spectrogram, SpectrogramThread, SpectrogramThreadWanted);
  RegisterViewThread(ViewKind::Vectorscope, VectorscopeThread, VectorscopeThreadWanted);
  RegisterViewThread(ViewKind::Waveform, WaveformThread, WaveformThreadWanted);
}
