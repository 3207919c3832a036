// TReaderSimProcess: the simulated reader (tools/reader-sim) serving the Unix
// end of a pty pair, started from a Windows program under Wine. The program's
// path comes from the environment variable TB_READER_SIM; what it prints, one
// line of spaced hexadecimal per frame it takes, is collected in a file.
#pragma once

#include <string>
#include <vector>

class TReaderSimProcess {
public:
    // Options as on the simulator's command line. Returns once it listens;
    // throws std::runtime_error when it cannot be found or does not start.
    TReaderSimProcess(const std::string& PtyPath, const std::string& Options);
    ~TReaderSimProcess();
    TReaderSimProcess(const TReaderSimProcess&) = delete;
    TReaderSimProcess& operator=(const TReaderSimProcess&) = delete;

    // The frames taken so far, as printed.
    std::vector<std::string> Frames() const;

private:
    std::string FOut, FErr, FPidFile;
};
