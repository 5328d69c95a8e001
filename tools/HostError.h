// The one error type of the command-line host: its message is shown to the user as it is.
#pragma once

#include <stdexcept>
#include <string>

class HostError : public std::runtime_error {
public:
    explicit HostError(const std::string& message) : std::runtime_error(message) {}
};

// A mistake on the command line; the tool then also points at --help.
class UsageError : public HostError {
public:
    explicit UsageError(const std::string& message) : HostError(message) {}
};
