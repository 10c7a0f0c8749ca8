// An SRW lock with one condition variable: nothing allocated, no failure path.
#pragma once
#include <windows.h>

namespace fciv {

class Monitor {
public:
    // The lock, held while this lives (but for Release() .. Acquire()).
    class Hold {
    public:
        explicit Hold(Monitor& m) : m_(m) { Acquire(); }
        ~Hold() {
            if (held_) Release();
        }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;
        void Acquire() {
            AcquireSRWLockExclusive(&m_.lock_);
            held_ = true;
        }
        void Release() {
            held_ = false;
            ReleaseSRWLockExclusive(&m_.lock_);
        }
        // Sleeps until woken or `ms` have passed; false when the time ran out.
        bool Wait(DWORD ms = INFINITE) { return SleepConditionVariableSRW(&m_.cv_, &m_.lock_, ms, 0) != FALSE; }

    private:
        Monitor& m_;
        bool held_ = false;
    };

    void WakeAll() { WakeAllConditionVariable(&cv_); }

private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE cv_ = CONDITION_VARIABLE_INIT;
};

}  // namespace fciv
