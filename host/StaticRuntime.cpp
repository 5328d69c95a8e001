// The Linux module carries its own C++ runtime, linked in statically. The runtime's emergency
// pool for exceptions would outlive every unloading of the module; it is given back as the host
// unloads it, when nothing of the module runs any more (and the effect throws nothing anyway).
namespace __gnu_cxx {
void __freeres() noexcept;
}

namespace {

__attribute__((destructor)) void releaseRuntime() {
    __gnu_cxx::__freeres();
}

} // namespace
