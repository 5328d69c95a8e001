// The program dump: the current setting written as statements that, pasted into
// writeFactoryPresets, make it a factory preset.
#pragma once

#include "effect/FactoryPresets.h"

// Written into the host process's current directory.
constexpr const char* kProgramDumpFileName = "vtn_dump.txt";

// Creates or empties the file at path and writes the statements for values (stored values, in
// index order). False when the file cannot be created (nothing is written then) or a write fails.
bool writeProgramDump(const char* path, const ParameterValues& values);
