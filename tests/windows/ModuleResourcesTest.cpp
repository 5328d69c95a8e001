// The DLL's bitmap resources, read the way the toolkit reads them: from the loaded module by
// integer id. Runs under wine against the module named by VELTRANE_MODULE.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "BitmapImage.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

// The module under test, loaded for the whole test case and released afterwards.
class LoadedModule {
public:
    LoadedModule() {
        const char* path = std::getenv("VELTRANE_MODULE");
        if (path != nullptr) {
            handle = LoadLibraryA(path);
        }
    }
    ~LoadedModule() {
        if (handle != nullptr) {
            FreeLibrary(handle);
        }
    }
    LoadedModule(const LoadedModule&) = delete;
    LoadedModule& operator=(const LoadedModule&) = delete;

    HMODULE handle = nullptr;
};

class ModuleResources : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(module.handle, nullptr)
            << "cannot load the module named by VELTRANE_MODULE (error " << GetLastError() << ")";
    }
    LoadedModule module;
};

} // namespace

TEST_F(ModuleResources, EveryIdTheEditorUsesIsAnEightBitBitmapOfItsListedSize) {
    for (const ExpectedBitmap& expected : expectedBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        HRSRC found = FindResourceA(module.handle, MAKEINTRESOURCEA(expected.id),
                                    MAKEINTRESOURCEA(2)); // RT_BITMAP
        ASSERT_NE(found, nullptr);
        HGLOBAL loaded = LoadResource(module.handle, found);
        ASSERT_NE(loaded, nullptr);
        std::string error;
        const std::optional<BitmapImage> image =
            readBitmapInfo(static_cast<const unsigned char*>(LockResource(loaded)),
                           SizeofResource(module.handle, found), error);
        ASSERT_TRUE(image) << error;
        EXPECT_EQ(image->width, expected.width);
        EXPECT_EQ(image->height, expected.height);
    }
}

// What GDI makes of them: the same sizes, so nothing is lost between resource and screen.
TEST_F(ModuleResources, EveryBitmapLoadsThroughGdiAtItsListedSize) {
    for (const ExpectedBitmap& expected : expectedBitmaps) {
        SCOPED_TRACE("bitmap " + std::to_string(expected.id));
        HANDLE bitmap = LoadImageA(module.handle, MAKEINTRESOURCEA(expected.id), IMAGE_BITMAP, 0, 0,
                                   LR_CREATEDIBSECTION);
        ASSERT_NE(bitmap, nullptr);
        BITMAP description{};
        EXPECT_NE(GetObjectA(bitmap, sizeof description, &description), 0);
        EXPECT_EQ(description.bmWidth, expected.width);
        EXPECT_EQ(description.bmHeight, expected.height);
        EXPECT_EQ(description.bmBitsPixel, 8);
        DeleteObject(bitmap);
    }
}

TEST_F(ModuleResources, IdsWithoutArtworkAreNotFound) {
    for (const int id : {1, 127, 148, 998, 1000}) {
        EXPECT_EQ(FindResourceA(module.handle, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2)), nullptr)
            << "id " << id;
    }
}

TEST_F(ModuleResources, TheModuleExportsMainAndNoOtherEntryPointName) {
    EXPECT_NE(reinterpret_cast<void*>(GetProcAddress(module.handle, "main")), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module.handle, "VSTPluginMain")), nullptr);
    EXPECT_EQ(reinterpret_cast<void*>(GetProcAddress(module.handle, "veltraneMain")), nullptr);
}
