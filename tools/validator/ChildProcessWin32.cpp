#include "tools/validator/ChildProcess.h"

#include "tools/HostError.h"

#include <windows.h>

#include <chrono>
#include <cstdio>

namespace {

// Closes its handle when it goes.
class Handle {
public:
    explicit Handle(HANDLE handle = nullptr) : handle(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle; }
    HANDLE* out() { return &handle; }
    void reset() {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
        handle = nullptr;
    }

private:
    HANDLE handle;
};

std::string selfPath() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        throw HostError("cannot find the validator's own program");
    }
    return std::string(path, length);
}

// Quotes one argument as the C runtime splits a command line.
std::string quoted(const std::string& argument) {
    std::string text = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        text.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        text += c;
    }
    text.append(2 * backslashes, '\\');
    return text + "\"";
}

std::string describeException(DWORD code) {
    const char* name = "an exception";
    switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
        name = "access violation";
        break;
    case EXCEPTION_STACK_OVERFLOW:
        name = "stack overflow";
        break;
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
        name = "integer division by zero";
        break;
    case EXCEPTION_ILLEGAL_INSTRUCTION:
        name = "illegal instruction";
        break;
    case EXCEPTION_BREAKPOINT:
        name = "breakpoint";
        break;
    case 0xC0000409u:
        name = "stack buffer overrun or fast fail";
        break;
    default:
        break;
    }
    char text[80];
    std::snprintf(text, sizeof text, "exception 0x%08lx (%s)", static_cast<unsigned long>(code),
                  name);
    return text;
}

void splitLines(const std::string& text, std::vector<std::string>& lines) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end == std::string::npos ? end : end - start);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
        start = end == std::string::npos ? text.size() : end + 1;
    }
}

// The process ends with the exception's code, which the parent reports; wine would otherwise
// start its debugger.
LONG WINAPI endWithException(EXCEPTION_POINTERS* exception) {
    TerminateProcess(GetCurrentProcess(), exception->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

} // namespace

void prepareChildProcess() {
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(endWithException);
}

ChildOutcome runSelf(const std::vector<std::string>& arguments, double timeoutSeconds) {
    const std::string program = selfPath();
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Handle reading;
    Handle writing;
    if (!CreatePipe(reading.out(), writing.out(), &inheritable, 0)) {
        throw HostError("cannot make a pipe");
    }
    SetHandleInformation(reading.get(), HANDLE_FLAG_INHERIT, 0);

    std::string commandLine = quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += " " + quoted(argument);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = writing.get();
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        nullptr, &startup, &started)) {
        throw HostError("cannot start " + program);
    }
    Handle process(started.hProcess);
    Handle thread(started.hThread);
    writing.reset();

    std::string output;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(static_cast<long long>(timeoutSeconds * 1000));
    bool timedOut = false;
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(reading.get(), nullptr, 0, nullptr, &available, nullptr)) {
            break; // the child's end is closed and everything is read
        }
        if (available > 0) {
            char chunk[4096];
            DWORD got = 0;
            if (!ReadFile(reading.get(), chunk, sizeof chunk, &got, nullptr) || got == 0) {
                break;
            }
            output.append(chunk, got);
            continue;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            timedOut = true;
            TerminateProcess(process.get(), 1);
            break;
        }
        if (WaitForSingleObject(process.get(), 5) == WAIT_OBJECT_0) {
            // Gone; what it wrote last is still in the pipe.
            DWORD left = 0;
            if (!PeekNamedPipe(reading.get(), nullptr, 0, nullptr, &left, nullptr) || left == 0) {
                break;
            }
        }
    }
    WaitForSingleObject(process.get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);

    ChildOutcome outcome;
    splitLines(output, outcome.lines);
    if (timedOut) {
        outcome.ending =
            "no result within " + std::to_string(static_cast<long>(timeoutSeconds)) + " s (killed)";
    } else if (code >= 0xC0000000u || code == EXCEPTION_BREAKPOINT) {
        outcome.ending = describeException(code);
    } else {
        outcome.exitedNormally = true;
        outcome.exitCode = static_cast<int>(code);
        outcome.ending = "exit status " + std::to_string(code);
    }
    return outcome;
}
