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
// Runs the command under /bin/sh and waits, at most timeoutMs, until it has
// succeeded; false when it failed or ran out of time. The command must not
// quote with '"'.
bool Run(const std::string& command, DWORD timeoutMs);
// Ends the process whose id is in the file, waits until it has gone (or is a
// zombie), and removes the file.
void Kill(const std::string& pidFile);
// The Unix path of the Wine prefix (WINEPREFIX, else ~/.wine); throws
// std::runtime_error when neither is known.
std::string PrefixPath();
// A fresh path in the prefix for a file of this process (process ids are
// unique only within one prefix).
std::string TempPath(const std::string& suffix);
// The file's whole content ("" when it does not exist).
std::string ReadFile(const std::string& unixPath);

} // namespace UnixShell
