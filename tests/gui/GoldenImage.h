// Test support: pictures compared exactly with committed reference images. A mismatch writes
// the actual picture and a difference picture next to the test program and says how to accept
// the new picture on purpose.
#pragma once

#include "gui/software/SoftwarePlatform.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Compares image with <folder>/<name>.png; VELTRANE_UPDATE_GOLDEN=1 writes the reference
// instead. program names the test program in the messages.
inline void expectMatchesGolden(const std::string& folder, const std::string& name,
                                const software::Image& image, const std::string& program) {
    const std::string reference = folder + "/" + name + ".png";
    const std::string update =
        "VELTRANE_UPDATE_GOLDEN=1 ./" + program + " --gtest_filter='*Golden*'";
    std::string error;
    const char* updating = std::getenv("VELTRANE_UPDATE_GOLDEN");
    if (updating != nullptr && std::string(updating) == "1") {
        ASSERT_TRUE(software::writePng(image, reference, error)) << error;
        return;
    }
    software::Image expected;
    ASSERT_TRUE(software::readPng(reference, expected, error))
        << error << "\nTo create it: " << update;
    if (expected == image) {
        return;
    }
    software::Image difference = image;
    if (expected.width == image.width && expected.height == image.height) {
        for (std::size_t index = 0; index < difference.pixels.size(); ++index) {
            difference.pixels[index] = expected.pixels[index] == image.pixels[index] ? 0 : 0x0000FF;
        }
    }
    const std::string actualPath = name + ".actual.png";
    const std::string differencePath = name + ".difference.png";
    software::writePng(image, actualPath, error);
    software::writePng(difference, differencePath, error);
    ADD_FAILURE() << name << " differs from " << reference << "; wrote " << actualPath << " and "
                  << differencePath << " (red: differing pixels) in the test's folder.\n"
                  << "If the new picture is right: " << update;
}
