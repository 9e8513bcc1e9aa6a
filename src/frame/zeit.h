#pragma once

// Local date and time with the epoch seconds and the processor time, e.g.
// "2026-12-06 21:00:00 [ time()=..., clock()/CLOCKS_PER_SEC=0.012 ]".
// The text lives in a static buffer that the next call overwrites.
const char* zeit();
