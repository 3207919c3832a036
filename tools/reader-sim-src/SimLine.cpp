// Opening the terminal device and running socat for a pty pair.
#include "SimLine.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

bool IsSymlink(const std::string& path)
{
    struct stat st{};
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string ReadLink(const std::string& path)
{
    char target[4096];
    const ssize_t n = readlink(path.c_str(), target, sizeof target - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

} // namespace

int OpenLine(const std::string& path, std::string& error)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = ErrnoText(path);
        return -1;
    }
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        error = path + ": not a terminal device";
        close(fd);
        return -1;
    }
    cfmakeraw(&tio);
    // TCSANOW: bytes already waiting in the line are the peer's and stay.
    if (tcsetattr(fd, TCSANOW, &tio) != 0) {
        error = ErrnoText(path);
        close(fd);
        return -1;
    }
    return fd;
}

TSocatPair::TSocatPair(std::string link) : FLink(std::move(link)) {}

TSocatPair::~TSocatPair()
{
    if (FPublished && ReadLink(FLink) == FFarDevice) unlink(FLink.c_str());
    if (FSocat > 0) {
        kill(FSocat, SIGTERM);
        int status = 0;
        waitpid(FSocat, &status, 0);
    }
    if (!FFolder.empty()) {
        unlink(FNear.c_str());
        unlink(FFar.c_str());
        rmdir(FFolder.c_str());
    }
}

bool TSocatPair::Start(std::string& error)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = std::string(tmp && *tmp ? tmp : "/tmp") + "/reader-sim.XXXXXX";
    std::vector<char> buffer(folder.begin(), folder.end());
    buffer.push_back('\0');
    if (mkdtemp(buffer.data()) == nullptr) {
        error = ErrnoText("mkdtemp");
        return false;
    }
    FFolder = buffer.data();
    FNear = FFolder + "/near";
    FFar = FFolder + "/far";

    const std::string farSpec = "pty,raw,echo=0,link=" + FFar;
    const std::string nearSpec = "pty,raw,echo=0,link=" + FNear;
    char* argv[] = {const_cast<char*>("socat"), const_cast<char*>(farSpec.c_str()), const_cast<char*>(nearSpec.c_str()),
                    nullptr};
    const pid_t parent = getpid();
    FSocat = fork();
    if (FSocat < 0) {
        error = ErrnoText("fork");
        return false;
    }
    if (FSocat == 0) {
        // socat must not outlive a reader that is killed outright.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(1);
        const int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, STDIN_FILENO);
            dup2(null, STDOUT_FILENO);
        }
        execvp("socat", argv);
        _exit(127);
    }

    // socat gives no sign when its links are ready but their appearing.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!(IsSymlink(FNear) && IsSymlink(FFar))) {
        int status = 0;
        if (waitpid(FSocat, &status, WNOHANG) == FSocat) {
            FSocat = -1;
            error = WIFEXITED(status) && WEXITSTATUS(status) == 127 ? "cannot run socat (is it installed?)"
                                                                    : "socat ended before its pty pair was ready";
            return false;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            error = "socat made no pty pair within 10 s";
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    FFarDevice = ReadLink(FFar);
    if (FFarDevice.empty()) {
        error = ErrnoText(FFar);
        return false;
    }
    return true;
}

bool TSocatPair::Publish(std::string& error)
{
    // A link left behind by an earlier run is replaced; anything else is not ours.
    struct stat st{};
    if (lstat(FLink.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = FLink + ": exists and is not a symbolic link";
            return false;
        }
        unlink(FLink.c_str());
    }
    if (symlink(FFarDevice.c_str(), FLink.c_str()) != 0) {
        error = ErrnoText(FLink);
        return false;
    }
    FPublished = true;
    return true;
}
