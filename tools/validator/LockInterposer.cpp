// The lock and wait functions of the validator's process, defined in the executable and
// exported (validator-exports.list), so that the module's calls bind to them; each counts and
// passes on to the next definition (the C library's, or a sanitizer's).
#include "tools/validator/CallCounterHooks.h"

#include <atomic>
#include <ctime>
#include <dlfcn.h>
#include <pthread.h>
#include <semaphore.h>

namespace {

// Resolved on first use without a lock or a guard variable (the guard would lock).
template <typename Function> Function next(std::atomic<Function>& cache, const char* name) {
    Function function = cache.load(std::memory_order_acquire);
    if (function == nullptr) {
        function = reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
        cache.store(function, std::memory_order_release);
    }
    return function;
}

} // namespace

// Counts the call and forwards it with the same arguments. The C library declares the waits
// that are cancellation points without noexcept, the other functions with it.
#define VELTRANE_COUNTED(name, parameters, arguments, exceptions)                                  \
    extern "C" int name parameters exceptions {                                                    \
        using Function = int(*) parameters;                                                        \
        static std::atomic<Function> cache{nullptr};                                               \
        CallCounter::noteLockCall(#name);                                                          \
        return next(cache, #name) arguments;                                                       \
    }
#define VELTRANE_COUNTED_LOCK(name, parameters, arguments)                                         \
    VELTRANE_COUNTED(name, parameters, arguments, noexcept)
#define VELTRANE_COUNTED_WAIT(name, parameters, arguments)                                         \
    VELTRANE_COUNTED(name, parameters, arguments, )

VELTRANE_COUNTED_LOCK(pthread_mutex_lock, (pthread_mutex_t * mutex), (mutex))
VELTRANE_COUNTED_LOCK(pthread_mutex_trylock, (pthread_mutex_t * mutex), (mutex))
VELTRANE_COUNTED_LOCK(pthread_mutex_timedlock,
                      (pthread_mutex_t * mutex, const struct timespec* deadline), (mutex, deadline))
VELTRANE_COUNTED_LOCK(pthread_rwlock_rdlock, (pthread_rwlock_t * lock), (lock))
VELTRANE_COUNTED_LOCK(pthread_rwlock_wrlock, (pthread_rwlock_t * lock), (lock))
VELTRANE_COUNTED_LOCK(pthread_rwlock_tryrdlock, (pthread_rwlock_t * lock), (lock))
VELTRANE_COUNTED_LOCK(pthread_rwlock_trywrlock, (pthread_rwlock_t * lock), (lock))
VELTRANE_COUNTED_LOCK(pthread_spin_lock, (pthread_spinlock_t * lock), (lock))
VELTRANE_COUNTED_LOCK(pthread_spin_trylock, (pthread_spinlock_t * lock), (lock))
VELTRANE_COUNTED_WAIT(pthread_cond_wait, (pthread_cond_t * condition, pthread_mutex_t* mutex),
                      (condition, mutex))
VELTRANE_COUNTED_WAIT(pthread_cond_timedwait,
                      (pthread_cond_t * condition, pthread_mutex_t* mutex,
                       const struct timespec* deadline),
                      (condition, mutex, deadline))
VELTRANE_COUNTED_WAIT(sem_wait, (sem_t * semaphore), (semaphore))
VELTRANE_COUNTED_LOCK(sem_trywait, (sem_t * semaphore), (semaphore))
VELTRANE_COUNTED_WAIT(sem_timedwait, (sem_t * semaphore, const struct timespec* deadline),
                      (semaphore, deadline))

#undef VELTRANE_COUNTED_WAIT
#undef VELTRANE_COUNTED_LOCK
#undef VELTRANE_COUNTED
