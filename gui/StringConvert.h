// The value-to-text function a value display calls and the buffer it hands it. The effect's
// converters are written against this, so the toolkit and the effect agree on one size.
#pragma once

// Writes the text for value into a buffer of StringConvertSize bytes, NUL-terminated.
using StringConvert = void (*)(float value, char* text);
constexpr int StringConvertSize = 256;
