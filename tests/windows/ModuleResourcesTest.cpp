// The DLL's bitmap resources, read the way the toolkit reads them: from the loaded module by
// integer id. Runs under wine against the module named by VELTRANE_MODULE.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "BitmapImage.h"
#include "host/VstInterface.h"

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

namespace {

VstIntPtr VSTCALLBACK versionOnlyHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                      float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// A top-level window standing in for the host's editor window.
class ParentWindow {
public:
    ParentWindow()
        : handle(CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr)) {}
    ~ParentWindow() {
        if (handle != nullptr) {
            DestroyWindow(handle);
        }
    }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND handle;
};

} // namespace

// The load notification hands the module's instance handle to the toolkit, which registers the
// editor's window class with it: a class registered without it would belong to the host.
TEST_F(ModuleResources, TheEditorWindowBelongsToTheModule) {
    const auto entryPoint = reinterpret_cast<VstEntryPointProc>(
        reinterpret_cast<void*>(GetProcAddress(module.handle, "main")));
    ASSERT_NE(entryPoint, nullptr);
    AEffect* effect = entryPoint(&versionOnlyHost);
    ASSERT_NE(effect, nullptr);
    if ((effect->flags & effFlagsHasEditor) == 0) {
        effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
        GTEST_SKIP() << "this build of the effect has no editor";
    }
    const ParentWindow parent;
    ASSERT_NE(parent.handle, nullptr);
    EXPECT_NE(effect->dispatcher(effect, effEditOpen, 0, 0, parent.handle, 0.0f), 0);
    const HWND editorWindow = GetWindow(parent.handle, GW_CHILD);
    ASSERT_NE(editorWindow, nullptr);
    EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrA(editorWindow, GCLP_HMODULE)),
              module.handle);
    effect->dispatcher(effect, effEditClose, 0, 0, nullptr, 0.0f);
    effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}
