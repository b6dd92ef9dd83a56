#include "render/render_source.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#include "audio/source_file.h"
#include "shared/sample_store.h"
#include "shared/settings.h"

namespace {

int64_t soundBytes = 0;

}  // namespace

bool OpenRenderSource(const char* path) {
  if (std::strlen(path) >= kFileNameBytes) return false;
  std::strcpy(SampleStore.WavFileName, path);
  OpenSourceFile(nullptr, Settings.downrateforfft);
  struct stat status {};
  fstat(fileno(SampleStore.file), &status);
  const int64_t frame = std::max(SampleStore.blockAlign, 1);
  soundBytes = std::max<int64_t>(status.st_size - SampleStore.dataOffset, 0) / frame * frame;
  return true;
}

int64_t SourceSoundBytes() { return soundBytes; }

void ReadSourceSound(int64_t position, char* out, int32_t count) {
  const int64_t available = std::clamp<int64_t>(soundBytes - position, 0, count);
  int64_t done = 0;
  while (done < available) {
    const ssize_t got = pread(fileno(SampleStore.file), out + done, static_cast<size_t>(available - done),
                              SampleStore.dataOffset + position + done);
    if (got <= 0) break;
    done += got;
  }
  std::memset(out + done, 0, static_cast<size_t>(count - done));
}
