// Runs C runtime formatting that may touch a bad pointer (a wrong printf argument) and turns
// an access violation inside it into a false result instead of a crash.
//
// mingw has no __try: a vectored exception handler, armed per thread only while a guarded call
// runs, redirects the faulting thread to a __builtin_longjmp back to the guard. Only plain C
// calls run inside a guard, so no C++ destructor is skipped by the jump.
#pragma once

#include <cstdarg>
#include <cstddef>

// _vscprintf(format, args); false when it faulted.
bool GuardedMeasure(const char* format, va_list args, int& length);
bool GuardedMeasure(const wchar_t* format, va_list args, int& length);
// _vsnprintf(buffer, capacity, format, args); false when it faulted.
bool GuardedPrint(char* buffer, size_t capacity, const char* format, va_list args);
bool GuardedPrint(wchar_t* buffer, size_t capacity, const wchar_t* format, va_list args);
