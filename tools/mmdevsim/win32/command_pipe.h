#pragma once
// Commands for the simulation from another process: with MMDEVSIM_PIPE set, the stand-in
// serves the pipe \\.\pipe\<that name>, one client at a time. Each line a client writes is
// a command (see README.md), answered with "OK" or "ERROR" and a line feed.
#include <string>

namespace mmdevsim {

class TSimulation;

// Starts the serving thread, which lives as long as the process.
void ServeCommandPipe(TSimulation& simulation, const std::string& name);

}  // namespace mmdevsim
