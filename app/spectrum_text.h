// Command 113: the spectrum published last, one line per bin ("%5dhz %5d"), in the debug text
// window.
#pragma once

// Does nothing while key o's stop request for the FFT thread is pending.
void ShowSpectrumAsText();
