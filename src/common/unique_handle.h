#pragma once
// One RAII family for the handles the launcher owns. Each traits type names
// the handle type, the value a failed call returns, and how to close it.

#include <windows.h>

namespace win {

template <typename Traits>
class Unique {
public:
    using T = typename Traits::type;
    Unique() = default;
    explicit Unique(T value) : value_(value) {}
    Unique(Unique&& other) noexcept : value_(other.Release()) {}
    Unique& operator=(Unique&& other) noexcept
    {
        Reset(other.Release());
        return *this;
    }
    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    ~Unique() { Reset(); }

    T Get() const { return value_; }
    T* Put()
    {
        Reset();
        return &value_;
    }
    explicit operator bool() const { return value_ != Traits::Invalid(); }
    T Release()
    {
        T v = value_;
        value_ = Traits::Invalid();
        return v;
    }
    void Reset(T value = Traits::Invalid())
    {
        if (value_ != Traits::Invalid()) Traits::Close(value_);
        value_ = value;
    }

private:
    T value_ = Traits::Invalid();
};

struct FileTraits {  // CreateFileA fails with INVALID_HANDLE_VALUE
    using type = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct KernelTraits {  // CreateMutexA, OpenProcessToken, CreateProcessA fail with NULL
    using type = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct RegKeyTraits {
    using type = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct ModuleTraits {
    using type = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
struct SidTraits {  // AllocateAndInitializeSid
    using type = PSID;
    static PSID Invalid() { return nullptr; }
    static void Close(PSID sid) { FreeSid(sid); }
};

using UniqueFile = Unique<FileTraits>;
using UniqueHandle = Unique<KernelTraits>;
using UniqueKey = Unique<RegKeyTraits>;
using UniqueModule = Unique<ModuleTraits>;
using UniqueSid = Unique<SidTraits>;

}  // namespace win
