// Waiting for the next published spectrum. The thread sleeps on SharedSpectrum.ready until the
// FFT thread publishes (which wakes it) or playback ends, so a wait costs no processor time.
//
// The wait statistics keep their meaning as counts of looks at the flag: a wait is counted as the
// looks that polling at the mode's period would have taken over the same time, one look at the
// end and one per period waited. The quick mode's period is that of a yielded time slice (1 µs),
// the slow mode's 1 ms. So, as before, a wait of more than 5000 looks (5 ms) in the quick mode
// moves to the slow mode, and a wait of at most 2 looks (up to 2 ms) in the slow mode moves back;
// a spectrum that is ready at once counts 1.
#pragma once

#include <cstdint>

// One wait, with `slowWait` moved by the rule above; *waitCount is the previous wait's count on
// entry and this wait's on return. With `noWait` ("次まで待つ" unchecked) nothing is counted
// (the count is 0) and columns follow each other without waiting for a new spectrum: the
// thread then only gives up the processor for at most 1 ms per column, ending early when a
// spectrum comes. Returns whether the wait ran in the slow mode.
bool WaitForSpectrum(int32_t* waitCount, bool noWait);

// Looks a wait of `microseconds` counts in the quick or slow mode.
int32_t WaitLooks(int64_t microseconds, bool slow);
