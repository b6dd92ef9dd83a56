// Turning a row of the logarithmic axis back into a frequency, and naming the equal-tempered note
// nearest to a frequency (A = 440 Hz).
#pragma once

#include <cstdint>

// The whole Hz at window row y (0 the top edge) of a logarithmic axis of `height` rows from 1 Hz
// to `nyquist`: y = height gives 1 Hz, y = 0 the Nyquist frequency. 0 without an axis.
int32_t FrequencyAtRow(float nyquist, float logNyquist, int32_t height, int32_t y);

// "A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab". A frequency of 0 or less is
// named "A", as a peak in bin 0 is.
const char* NoteName(int32_t f);
