#include "effect/ProgramSlot.h"

#include "effect/ParameterTable.h"

#include <cstddef>
#include <cstring>

ProgramSlot::ProgramSlot() {
    setName("Init");
}

void ProgramSlot::setParam(int index, float value) {
    if (isParameterIndex(index)) {
        values[index] = value;
    }
}

float ProgramSlot::getParam(int index) const {
    return isParameterIndex(index) ? values[index] : 0.0f;
}

void ProgramSlot::setName(const char* text) {
    if (text == nullptr) {
        return;
    }
    // Reads no further than the zero or the 23rd character; text may even be this name.
    std::size_t length = 0;
    while (length < kNameSize - 1 && text[length] != '\0') {
        ++length;
    }
    std::memmove(programName.data(), text, length);
    programName[length] = '\0';
}
