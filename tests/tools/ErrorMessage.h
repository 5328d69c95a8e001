// The message of the HostError an action throws, or "(no error)".
#pragma once

#include "tools/HostError.h"

#include <functional>
#include <string>

inline std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const HostError& error) {
        return error.what();
    }
    return "(no error)";
}
