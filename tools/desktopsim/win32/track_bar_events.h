#pragma once
// What desktopsim and trackbarevents.dll, which it puts into the panel's process under Wine,
// share: the DLL's file and hook procedure, and how the DLL finds desktopsim to say it is in.
namespace desktopsim {

constexpr char kTrackBarEventsFile[] = "trackbarevents.dll";
// A WH_GETMESSAGE procedure: at the hooked thread's next message it takes the thread's track
// bars over and posts kTrackBarsTakenMessage (wParam: how many) to desktopsim's window.
constexpr char kTakeTrackBarsProc[] = "TakeTrackBars";
constexpr char kTrackBarsTakenMessage[] = "DesktopSimTrackBarsTaken";
constexpr char kDesktopWindowClass[] = "DesktopSimulatorWindow";

}  // namespace desktopsim
