#pragma once
// Output schedule of a run.

// Control output is due in the current step; reports to the control log are
// written only while it is set.
extern bool bausktr;
