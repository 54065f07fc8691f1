#include "common/FaultGuard.h"

#include <windows.h>

#include <stdio.h>

namespace {

struct GuardFrame {
    void* jumpBuffer[5];
};

DWORD GuardSlot() {
    static const DWORD slot = ::TlsAlloc();
    return slot;
}

__attribute__((noinline, noreturn)) void JumpBackToGuard() {
    auto* frame = static_cast<GuardFrame*>(::TlsGetValue(GuardSlot()));
    ::TlsSetValue(GuardSlot(), nullptr);
    __builtin_longjmp(frame->jumpBuffer, 1);
}

bool IsRecoverableFault(DWORD code) {
    switch (code) {
        case EXCEPTION_ACCESS_VIOLATION:
        case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
        case EXCEPTION_DATATYPE_MISALIGNMENT:
        case EXCEPTION_ILLEGAL_INSTRUCTION:
        case EXCEPTION_INT_DIVIDE_BY_ZERO:
        case EXCEPTION_IN_PAGE_ERROR:
            return true;
        default:
            return false;  // stack overflow and debugger notifications are left alone
    }
}

LONG CALLBACK FaultHandler(EXCEPTION_POINTERS* info) {
    if (!IsRecoverableFault(info->ExceptionRecord->ExceptionCode) ||
        ::TlsGetValue(GuardSlot()) == nullptr) {
        return EXCEPTION_CONTINUE_SEARCH;
    }
#if defined(_WIN64)
    info->ContextRecord->Rip = reinterpret_cast<DWORD64>(&JumpBackToGuard);
#else
    info->ContextRecord->Eip = reinterpret_cast<DWORD>(&JumpBackToGuard);
#endif
    return EXCEPTION_CONTINUE_EXECUTION;
}

void InstallHandlerOnce() {
    static const PVOID handler = ::AddVectoredExceptionHandler(1, &FaultHandler);
    (void)handler;
}

// Runs |call| with the guard armed. The frame lives on this function's stack, which stays
// valid for the longjmp because the jump only ever goes back up into this frame.
template <typename Call>
__attribute__((noinline)) bool RunGuarded(Call call) {
    InstallHandlerOnce();
    GuardFrame frame;
    if (__builtin_setjmp(frame.jumpBuffer) != 0) {
        return false;
    }
    ::TlsSetValue(GuardSlot(), &frame);
    call();
    ::TlsSetValue(GuardSlot(), nullptr);
    return true;
}

}  // namespace

bool GuardedMeasure(const char* format, va_list args, int& length) {
    return RunGuarded([&] { length = _vscprintf(format, args); });
}

bool GuardedMeasure(const wchar_t* format, va_list args, int& length) {
    return RunGuarded([&] { length = _vscwprintf(format, args); });
}

bool GuardedPrint(char* buffer, size_t capacity, const char* format, va_list args) {
    return RunGuarded([&] { _vsnprintf(buffer, capacity, format, args); });
}

bool GuardedPrint(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args) {
    return RunGuarded([&] { _vsnwprintf(buffer, capacity, format, args); });
}
