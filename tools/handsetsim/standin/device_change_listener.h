#pragma once
// hid.dll's listener: a thread that takes the simulator's plug and unplug events and sends
// them, as the system would, as WM_DEVICECHANGE to this process's "THidControlWindow"
// windows: a removal for each handle of the device that has preparsed data, then the
// interface removal; or the interface arrival.
namespace handsetsim::standin {

// Starts the listener unless it runs, and waits (bounded) until the simulator has it, so
// that a caller that has enumerated will hear of every later change. Without a simulator it
// returns at once; a later call tries again. Never call it from DllMain.
void EnsureListening();

}  // namespace handsetsim::standin
