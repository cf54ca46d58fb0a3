#pragma once
// What the stand-in DLLs share: finding their configuration beside them, reading it, and
// appending to the log file that a test reads while the program runs.
#include <windows.h>

#include <string>

namespace simkit {

// The folder of the module that holds `address`, with its trailing separator; empty when
// Windows cannot tell.
std::string ModuleFolder(const void* address);

// The file's first `limit` bytes; false when it cannot be read.
bool ReadSmallFile(const std::string& path, std::string& text, DWORD limit = 64 * 1024);

// Appends `line` and CR LF. The file is opened for each line, so a test can read it meanwhile;
// an empty path logs nothing.
void AppendLogLine(const std::string& path, const std::string& line);

}  // namespace simkit
