// Starting Unix programs from a Windows test under Wine, which runs them but
// gives no process handle back: a shell command is followed by a marker file.
#pragma once

#include <windows.h>

#include <string>

namespace UnixShell {

// The Windows name of a Unix path (Wine's drive Z: is the Unix root).
std::string WinePath(const std::string& unixPath);
bool Exists(const std::string& unixPath);
// The path in single quotes for the shell.
std::string Quoted(const std::string& path);
// Runs the command under /bin/sh and waits until it has finished; false when
// it could not start or did not finish in time.
bool Run(const std::string& command, DWORD timeoutMs);
// Ends the process whose id is in the file, waits until it has gone (or is a
// zombie), and removes the file.
void Kill(const std::string& pidFile);
// A fresh path under /tmp for a file of this process.
std::string TempPath(const std::string& suffix);
// The file's whole content ("" when it does not exist).
std::string ReadFile(const std::string& unixPath);

} // namespace UnixShell
