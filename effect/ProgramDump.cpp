#include "effect/ProgramDump.h"

#include "effect/ParameterTable.h"

#include <cstdio>
#include <memory>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

bool writeProgramDump(const char* path, const ParameterValues& values) {
    // Text mode: each line feed becomes the platform's line end.
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "w+"));
    if (!file) {
        return false;
    }
    std::fputs("\nprog++;\n\n", file.get());
    // Always "init": the pasted preset is renamed by hand.
    std::fputs("programs[ prog ].setName( \"init\" );\n\n", file.get());
    for (int index = 0; index < ParameterIndex::kNumParameters; ++index) {
        std::fprintf(file.get(), "programs[ prog ].setParam( %i, %f );//%s\n", index,
                     static_cast<double>(values[index]), parameterInfo(index).name);
    }
    return std::ferror(file.get()) == 0;
}
