// Checks what a sound server's monitor recorded against the sample data a file holds: with the
// silent frames left out of both, the two must be the same bytes, in order (nothing lost,
// repeated or changed). Prints how many runs of sound the recording holds, so that a caller can
// tell a gap-free playback (one run) from one that stopped and went on.
//   monitor_check MONITOR.raw FILE.raw   (16-bit stereo frames)
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr size_t kFrameBytes = 4;

std::vector<char> ReadAll(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool Silent(const char* frame) {
  for (size_t i = 0; i < kFrameBytes; ++i) {
    if (frame[i] != 0) return false;
  }
  return true;
}

// The sounding frames of `bytes`, and how many runs of them there are.
std::vector<char> Sounding(const std::vector<char>& bytes, int* runs) {
  std::vector<char> out;
  bool inRun = false;
  *runs = 0;
  for (size_t at = 0; at + kFrameBytes <= bytes.size(); at += kFrameBytes) {
    const bool silent = Silent(&bytes[at]);
    if (!silent) out.insert(out.end(), bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + kFrameBytes));
    if (!silent && !inRun) ++*runs;
    inRun = !silent;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: monitor_check MONITOR.raw FILE.raw\n");
    return 2;
  }
  int monitorRuns = 0, fileRuns = 0;
  const std::vector<char> heard = Sounding(ReadAll(argv[1]), &monitorRuns);
  const std::vector<char> file = Sounding(ReadAll(argv[2]), &fileRuns);
  std::printf("runs %d\n", monitorRuns);
  if (heard == file) return 0;
  size_t same = 0;
  while (same < heard.size() && same < file.size() && heard[same] == file[same]) ++same;
  std::fprintf(stderr, "the monitor heard %zu sounding frames of the file's %zu; the first %zu agree\n",
               heard.size() / kFrameBytes, file.size() / kFrameBytes, same / kFrameBytes);
  return 1;
}
