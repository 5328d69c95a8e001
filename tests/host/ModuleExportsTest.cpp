// What the Linux module exports: the two entry point names and nothing of its own beyond.
#include "tests/support/PluginHarness.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <memory>

namespace {

struct ModuleCloser {
    void operator()(void* module) const { dlclose(module); }
};
using ModuleHandle = std::unique_ptr<void, ModuleCloser>;

ModuleHandle loadModule() {
    return ModuleHandle(dlopen(PluginHarness::modulePath().c_str(), RTLD_NOW | RTLD_LOCAL));
}

TEST(ModuleExports, BothEntryPointNamesLeadToTheSameEntry) {
    const ModuleHandle module = loadModule();
    ASSERT_NE(module, nullptr) << dlerror();
    void* pluginMain = dlsym(module.get(), "VSTPluginMain");
    void* main = dlsym(module.get(), "main");
    ASSERT_NE(pluginMain, nullptr);
    ASSERT_NE(main, nullptr);

    // Each gives a working effect.
    for (void* entry : {pluginMain, main}) {
        const auto entryPoint = reinterpret_cast<VstEntryPointProc>(entry);
        AEffect* record = entryPoint([](AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*,
                                        float) -> VstIntPtr { return opcode == 1 ? 2400 : 0; });
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->magic, kEffectMagic);
        EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    }
}

TEST(ModuleExports, InternalNamesStayHidden) {
    const ModuleHandle module = loadModule();
    ASSERT_NE(module, nullptr) << dlerror();
    for (const char* name :
         {"veltraneMain", "openEffect", "_Z10openEffectPFlP7AEffectiilPvfE",
          "_Z20createEffectInstancePFlP7AEffectiilPvfE", "_Z16setEditorFailurev"}) {
        EXPECT_EQ(dlsym(module.get(), name), nullptr) << name;
    }
}

} // namespace
