// Owning wrappers for Windows handles: one movable, non-copyable type with a close policy per
// kind. get() hands the raw handle out; there is no implicit conversion and no copy.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <memory>
#include <utility>

template <typename Traits>
class UniqueHandleT {
  public:
    using Type = typename Traits::Type;

    UniqueHandleT() = default;
    explicit UniqueHandleT(Type handle) : handle_(handle) {}
    ~UniqueHandleT() { reset(); }

    UniqueHandleT(const UniqueHandleT&) = delete;
    UniqueHandleT& operator=(const UniqueHandleT&) = delete;
    UniqueHandleT(UniqueHandleT&& other) noexcept : handle_(other.release()) {}
    UniqueHandleT& operator=(UniqueHandleT&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }

    Type get() const { return handle_; }
    bool valid() const { return handle_ != Traits::Invalid(); }
    explicit operator bool() const { return valid(); }

    Type release() { return std::exchange(handle_, Traits::Invalid()); }
    void reset(Type handle = Traits::Invalid()) {
        if (valid()) {
            Traits::Close(handle_);
        }
        handle_ = handle;
    }

  private:
    Type handle_ = Traits::Invalid();
};

// Process, thread, event, mutex handles: null when absent.
struct KernelHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::CloseHandle(h); }
};

// CreateFile and toolhelp snapshots: INVALID_HANDLE_VALUE when absent.
struct FileHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::CloseHandle(h); }
};

// FindFirstFile searches: INVALID_HANDLE_VALUE when absent, closed with FindClose.
struct FindHandleTraits {
    using Type = HANDLE;
    static Type Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { ::FindClose(h); }
};

struct RegKeyTraits {
    using Type = HKEY;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::RegCloseKey(h); }
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::FreeLibrary(h); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteObject(h); }
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { ::DeleteDC(h); }
};

using UniqueHandle = UniqueHandleT<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandleT<FileHandleTraits>;
using UniqueFindHandle = UniqueHandleT<FindHandleTraits>;
using UniqueRegKey = UniqueHandleT<RegKeyTraits>;
using UniqueModule = UniqueHandleT<ModuleTraits>;
using UniqueGdiObject = UniqueHandleT<GdiObjectTraits>;
using UniqueMemoryDc = UniqueHandleT<MemoryDcTraits>;

// C runtime streams.
struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using UniqueFile = std::unique_ptr<FILE, FileCloser>;
