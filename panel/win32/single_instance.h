#pragma once
// One panel per desktop: the semaphore that tells whether a copy runs, and a second start's
// command to that copy.
#include <windows.h>

#include "panel/start_switches.h"

// True when this copy is to run. Otherwise the running copy was told to show its window
// (or to end, for ZunDestroyMode), and this copy ends. The semaphore stays open as long
// as the process runs.
bool CheckSingleInstance(TStartSwitch start_switch);
