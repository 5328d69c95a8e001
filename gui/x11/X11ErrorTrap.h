// X errors and a broken connection caught while our code talks to the server: for displays of
// ours they are counted (ErrorTrap::failed) instead of ending the process; errors on any other
// display, the host's own, go on to the handler the host had. Installed for the time of one of
// our calls into the windowing, nestable.
#pragma once

#include <cstdint>

namespace x11 {

class Connection;

class ErrorTrap {
public:
    explicit ErrorTrap(Connection& connection);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits until the server has handled every request so far; true when one of them failed,
    // or the connection broke, since the trap was set.
    bool failed();

private:
    Connection& connection;
    std::uint32_t errorsBefore;
};

} // namespace x11
