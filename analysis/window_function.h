// Window functions: the table the FFT thread multiplies each block of samples by,
// chosen by the `wfkind` letter and rebuilt only when the kind, the transform size
// or the zero-fill factor changes.
//
// The caller passes what the table depends on: the kind letter (`wfkind` of the
// settings) and the window length m (`fftsample` in force / `zerofill`, an even
// number from 16 to 32768).
#pragma once

#include <atomic>
#include <cstdint>

inline constexpr int kWindowTableRoom = 32769;

struct WindowKind {
  char letter;             // the value of `wfkind`
  const char* menuLabel;   // the menu item; items carry command ids 1 ... 10 in table order
  const char* builtLabel;  // shown by the status line once the table is built
};

inline constexpr int kWindowKindCount = 10;
extern const WindowKind WindowKinds[kWindowKindCount];
inline constexpr char kDefaultWindowKind = 'f';

// The kind with this letter, or null for a letter outside the table.
const WindowKind* FindWindowKind(char letter);

// Entries 0 ... m-1 of the last table built (zeros before the first build). Read and
// written only by the FFT thread.
extern float WindowTable[kWindowTableRoom];

// The label of the last table built ("" before the first build). Always points at a
// string constant, so any thread may read it.
extern std::atomic<const char*> WindowLabel;

// 1 when the table must be rebuilt before its next use: 1 at start-up, set by every
// change of `wfkind`, `zerofill` or the transform size in force; cleared by the FFT
// thread when it rebuilds.
extern std::atomic<int32_t> WindowRebuild;

// Fills WindowTable[0 ... m-1] for the kind and sets WindowLabel. A letter outside
// the table, or m outside 2 ... 32768, builds nothing: table and label stay.
void BuildWindow(char wfkind, int m);

// x[i] = x[i] · WindowTable[i] for i < m, the product in double truncated toward zero.
void ApplyWindow(int32_t* x, int m);

// The window step of one analysis cycle: rebuilds the table when WindowRebuild asks
// for it, then applies it unless the kind is z (none).
void WindowSamples(int32_t* x, char wfkind, int m);
