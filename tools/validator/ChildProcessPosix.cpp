#include "tools/validator/ChildProcess.h"

#include "tools/HostError.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

std::string selfPath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) {
        throw HostError(std::string("cannot find the validator's own program: ") +
                        std::strerror(errno));
    }
    return std::string(path, static_cast<std::size_t>(length));
}

// Closes its descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) : fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd; }
    void reset() {
        if (fd >= 0) {
            ::close(fd);
        }
        fd = -1;
    }

private:
    int fd;
};

void splitLines(const std::string& text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

} // namespace

void prepareChildProcess() {
    const rlimit noCoreFile{0, 0};
    setrlimit(RLIMIT_CORE, &noCoreFile);
}

ChildOutcome runSelf(const std::vector<std::string>& arguments, double timeoutSeconds) {
    const std::string program = selfPath();
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        throw HostError(std::string("cannot make a pipe: ") + std::strerror(errno));
    }
    Descriptor reading(ends[0]);
    Descriptor writing(ends[1]);

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, writing.get(), STDOUT_FILENO);
    pid_t child = 0;
    const int spawned =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw HostError("cannot start " + program + ": " + std::strerror(spawned));
    }
    writing.reset();

    ChildOutcome outcome;
    std::string output;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    bool timedOut = false;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            timedOut = true;
            break;
        }
        pollfd waiting{reading.get(), POLLIN, 0};
        const int ready =
            poll(&waiting, 1, static_cast<int>(std::min<long long>(left.count(), INT_MAX)));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        if (ready <= 0) {
            continue;
        }
        char chunk[4096];
        const ssize_t got = read(reading.get(), chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            break;
        }
        output.append(chunk, static_cast<std::size_t>(got));
    }
    if (timedOut) {
        kill(child, SIGKILL);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    splitLines(output, outcome.lines);
    if (timedOut) {
        outcome.ending =
            "no result within " + std::to_string(static_cast<long>(timeoutSeconds)) + " s (killed)";
    } else if (WIFEXITED(status)) {
        outcome.exitedNormally = true;
        outcome.exitCode = WEXITSTATUS(status);
        outcome.ending = "exit status " + std::to_string(outcome.exitCode);
    } else if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        const char* const name = strsignal(signal);
        outcome.ending =
            "signal " + std::to_string(signal) + " (" + (name != nullptr ? name : "unknown") + ")";
    } else {
        outcome.ending = "an unknown end";
    }
    return outcome;
}
