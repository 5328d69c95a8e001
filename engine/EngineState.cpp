#include "engine/EngineState.h"

#include <algorithm>
#include <limits>
#include <new>

namespace engine {

EngineState::EngineState() {
    for (auto& value : parameters) {
        storeRelaxed(value, 0.0f);
    }
    for (int i = 0; i < kLines; ++i) {
        storeRelaxed(iDelaySamples[i], kMinDelaySamples);
        storeRelaxed(fDelayMs[i], 0.0f);
        for (int j = 0; j < kLines; ++j) {
            storeRelaxed(fMatrixGain[i][j], 0.0f);
        }
        for (int d = 0; d < 2; ++d) {
            storeRelaxed(fStepAmount[d][i], 0.0f);
            for (int k = 0; k < 2; ++k) {
                storeRelaxed(fLfoAmount[k][d][i], 0.0f);
            }
        }
    }
}

bool EngineState::reallocateLines(std::int64_t length) {
    if (length <= 0 || length > std::numeric_limits<std::int32_t>::max()) {
        return false;
    }
    std::unique_ptr<float[]> lines[kLines];
    for (auto& line : lines) {
        line.reset(new (std::nothrow) float[static_cast<std::size_t>(length)]());
        if (!line) {
            return false;
        }
    }
    for (int i = 0; i < kLines; ++i) {
        pDelayBuffer[i] = std::move(lines[i]);
        pSpareBuffer[i].reset();
    }
    for (auto& spare : pSpareBuffer) {
        spare.reset(new (std::nothrow) float[static_cast<std::size_t>(length)]());
        if (!spare) {
            for (auto& other : pSpareBuffer) {
                other.reset();
            }
            break;
        }
    }
    storeRelaxed(iBufferSize, static_cast<std::int32_t>(length));
    iSpareCleared = std::int64_t{kLines} * length;
    return true;
}

void EngineState::clearLines() noexcept {
    const std::int32_t size = loadRelaxed(iBufferSize);
    for (auto& line : pDelayBuffer) {
        if (line) {
            std::fill(line.get(), line.get() + size, 0.0f);
        }
    }
    clearSpareSlice(std::int64_t{kLines} * size);
}

void EngineState::replaceLinesByCleared() noexcept {
    if (pSpareBuffer[0] && iSpareCleared == std::int64_t{kLines} * loadRelaxed(iBufferSize)) {
        for (int i = 0; i < kLines; ++i) {
            pDelayBuffer[i].swap(pSpareBuffer[i]);
        }
        iSpareCleared = 0;
        return;
    }
    const std::int32_t size = loadRelaxed(iBufferSize);
    for (auto& line : pDelayBuffer) {
        if (line) {
            std::fill(line.get(), line.get() + size, 0.0f);
        }
    }
}

void EngineState::clearSpareSlice(std::int64_t samples) noexcept {
    if (!pSpareBuffer[0]) {
        return;
    }
    const std::int64_t size = loadRelaxed(iBufferSize);
    while (samples > 0 && iSpareCleared < kLines * size) {
        const std::int64_t line = iSpareCleared / size;
        const std::int64_t from = iSpareCleared - line * size;
        const std::int64_t count = std::min(samples, size - from);
        std::fill_n(pSpareBuffer[line].get() + from, count, 0.0f);
        iSpareCleared += count;
        samples -= count;
    }
}

} // namespace engine
