#include "effect/ProgramSlot.h"

#include "effect/ParameterTable.h"

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
    std::strncpy(programName.data(), text, kNameSize - 1);
    programName[kNameSize - 1] = '\0';
}
