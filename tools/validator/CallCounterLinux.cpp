#include "tools/validator/CallCounter.h"

#include "tools/PluginModule.h"
#include "tools/validator/CallCounterHooks.h"

#include <cerrno>
#include <csignal>
#include <cstddef>
#include <cstring>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <link.h>
#include <set>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <ucontext.h>
#include <unistd.h>
#include <vector>

#if !defined(VELTRANE_SANITIZER_HEAP_HOOKS)
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#endif

namespace {

// The functions the validator defines (HeapInterposer.cpp, LockInterposer.cpp). A module that
// defines one of them itself binds its calls there, out of the counter's sight.
const std::set<std::string> countedFunctions = {"malloc",
                                                "calloc",
                                                "realloc",
                                                "reallocarray",
                                                "free",
                                                "memalign",
                                                "aligned_alloc",
                                                "posix_memalign",
                                                "valloc",
                                                "pvalloc",
                                                "pthread_mutex_lock",
                                                "pthread_mutex_trylock",
                                                "pthread_mutex_timedlock",
                                                "pthread_rwlock_rdlock",
                                                "pthread_rwlock_wrlock",
                                                "pthread_rwlock_tryrdlock",
                                                "pthread_rwlock_trywrlock",
                                                "pthread_spin_lock",
                                                "pthread_spin_trylock",
                                                "pthread_cond_wait",
                                                "pthread_cond_timedwait",
                                                "sem_wait",
                                                "sem_trywait",
                                                "sem_timedwait"};

// Functions of the counted set that the module's file defines, from its dynamic and static
// symbol tables. Empty for a file that is no ELF object of this machine's class.
std::set<std::string> functionsDefinedIn(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<char> image((std::istreambuf_iterator<char>(file)),
                                  std::istreambuf_iterator<char>());
    std::set<std::string> defined;
    ElfW(Ehdr) header{};
    if (image.size() < sizeof header) {
        return defined;
    }
    std::memcpy(&header, image.data(), sizeof header);
    const bool sameClass =
        header.e_ident[EI_CLASS] == (sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || !sameClass ||
        header.e_shentsize != sizeof(ElfW(Shdr)) ||
        header.e_shoff + std::size_t{header.e_shnum} * sizeof(ElfW(Shdr)) > image.size()) {
        return defined;
    }
    std::vector<ElfW(Shdr)> sections(header.e_shnum);
    std::memcpy(sections.data(), image.data() + header.e_shoff,
                sections.size() * sizeof(ElfW(Shdr)));
    for (const ElfW(Shdr) & table : sections) {
        if ((table.sh_type != SHT_SYMTAB && table.sh_type != SHT_DYNSYM) ||
            table.sh_link >= sections.size() || table.sh_offset + table.sh_size > image.size()) {
            continue;
        }
        const ElfW(Shdr)& names = sections[table.sh_link];
        if (names.sh_offset + names.sh_size > image.size()) {
            continue;
        }
        const std::size_t count = table.sh_size / sizeof(ElfW(Sym));
        for (std::size_t index = 0; index < count; ++index) {
            ElfW(Sym) symbol{};
            std::memcpy(&symbol, image.data() + table.sh_offset + index * sizeof symbol,
                        sizeof symbol);
            const int type = ELF64_ST_TYPE(symbol.st_info);
            if (symbol.st_shndx == SHN_UNDEF || (type != STT_FUNC && type != STT_GNU_IFUNC) ||
                symbol.st_name >= names.sh_size) {
                continue;
            }
            const char* const name = image.data() + names.sh_offset + symbol.st_name;
            const std::size_t room = names.sh_size - symbol.st_name;
            const std::string text(name, strnlen(name, room));
            if (countedFunctions.count(text) != 0) {
                defined.insert(text);
            }
        }
    }
    return defined;
}

#if !defined(VELTRANE_SANITIZER_HEAP_HOOKS) && (defined(__x86_64__) || defined(__i386__))
#define VELTRANE_TRAPS_SYSTEM_CALLS 1

struct SystemCallName {
    long number;
    const char* name;
};

// The calls an audio callback is most likely to make; others are reported by number.
constexpr SystemCallName systemCallNames[] = {
    {SYS_read, "read"},
    {SYS_write, "write"},
    {SYS_openat, "openat"},
    {SYS_close, "close"},
    {SYS_futex, "futex"},
    {SYS_nanosleep, "nanosleep"},
    {SYS_clock_nanosleep, "clock_nanosleep"},
    {SYS_sched_yield, "sched_yield"},
    {SYS_clock_gettime, "clock_gettime"},
    {SYS_gettimeofday, "gettimeofday"},
    {SYS_getpid, "getpid"},
    {SYS_gettid, "gettid"},
    {SYS_ioctl, "ioctl"},
    {SYS_writev, "writev"},
    {SYS_lseek, "lseek"},
    {SYS_fstat, "fstat"},
    {SYS_poll, "poll"},
    {SYS_kill, "kill"},
    {SYS_tgkill, "tgkill"},
    {SYS_clone, "clone"},
};

void onTrappedSystemCall(int, siginfo_t* info, void* context) {
    const long number = info->si_syscall;
    const char* name = "a system call of another number";
    for (const SystemCallName& known : systemCallNames) {
        if (known.number == number) {
            name = known.name;
        }
    }
    CallCounter::noteSystemCall(name, number);
    auto* const machine = static_cast<ucontext_t*>(context);
#if defined(__x86_64__)
    machine->uc_mcontext.gregs[REG_RAX] = -ENOSYS;
#else
    machine->uc_mcontext.gregs[REG_EAX] = -ENOSYS;
#endif
}

// System calls that pass: memory mapping (the heap's own, counted as heap calls), returning
// from the trap's signal handler, and ending the thread.
std::vector<sock_filter> systemCallFilter() {
#if defined(__x86_64__)
    constexpr std::uint32_t architecture = AUDIT_ARCH_X86_64;
    const long passing[] = {SYS_exit,   SYS_exit_group, SYS_rt_sigreturn, SYS_mmap,    SYS_munmap,
                            SYS_mremap, SYS_brk,        SYS_madvise,      SYS_mprotect};
#else
    constexpr std::uint32_t architecture = AUDIT_ARCH_I386;
    const long passing[] = {SYS_exit,    SYS_exit_group, SYS_rt_sigreturn, SYS_sigreturn,
                            SYS_mmap2,   SYS_munmap,     SYS_mremap,       SYS_brk,
                            SYS_madvise, SYS_mprotect};
#endif
    const auto count = static_cast<std::uint8_t>(std::size(passing));
    std::vector<sock_filter> program;
    program.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)));
    // Another architecture's calls (there are none in this process) pass.
    program.push_back(
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, architecture, 0, static_cast<std::uint8_t>(count + 2)));
    program.push_back(BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)));
    for (std::uint8_t index = 0; index < count; ++index) {
        program.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K,
                                   static_cast<std::uint32_t>(passing[index]),
                                   static_cast<std::uint8_t>(count - index), 0));
    }
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_TRAP));
    program.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    return program;
}
#endif

} // namespace

namespace CallCounter {

std::string attach(const PluginModule& module) {
    std::string note;
    for (const std::string& name : functionsDefinedIn(module.path())) {
        note += (note.empty() ? "" : ", ") + name;
    }
    return note.empty() ? note
                        : "the module defines " + note + " itself; those calls are not counted";
}

const char* coverage() {
#if defined(VELTRANE_SANITIZER_HEAP_HOOKS)
    return "heap calls through the sanitizer's hooks, the C library's lock and wait calls; no "
           "system calls under a sanitizer";
#elif defined(VELTRANE_TRAPS_SYSTEM_CALLS)
    return "the C library's heap, lock and wait calls, every system call but memory mapping";
#else
    return "the C library's heap, lock and wait calls; no system calls on this processor";
#endif
}

bool trapSystemCalls(std::string& whyNot) {
#if defined(VELTRANE_TRAPS_SYSTEM_CALLS)
    struct sigaction action {};
    action.sa_sigaction = onTrappedSystemCall;
    action.sa_flags = SA_SIGINFO;
    sigemptyset(&action.sa_mask);
    if (sigaction(SIGSYS, &action, nullptr) != 0) {
        whyNot = std::string("cannot handle SIGSYS: ") + std::strerror(errno);
        return false;
    }
    std::vector<sock_filter> program = systemCallFilter();
    sock_fprog filter{static_cast<unsigned short>(program.size()), program.data()};
    if (prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) != 0 ||
        prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter, 0, 0) != 0) {
        whyNot = std::string("seccomp is not available: ") + std::strerror(errno);
        return false;
    }
    return true;
#else
    whyNot.clear(); // by design: coverage() says so
    return false;
#endif
}

} // namespace CallCounter
