#pragma once
// One RAII family for everything the launcher and the packager's tool own.
// Each traits type names the handle type, the value a failed call returns
// (the explicit invalid value), how to close it (true when that worked), and
// an ErrorKeeper that keeps the system's error code across a quiet close:
// callers read GetLastError or errno right after a Reset. Portable: the
// Windows handles and the POSIX file descriptor share it.

#include <utility>

namespace common {

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
    // Closes quietly: the error code stays what it was before the close.
    void Reset(T value = Traits::Invalid())
    {
        if (value_ != Traits::Invalid()) {
            typename Traits::ErrorKeeper keep;
            Traits::Close(value_);
        }
        value_ = value;
    }
    // Closes now and says whether that worked (an empty one closes fine).
    bool Close()
    {
        const T v = Release();
        return v == Traits::Invalid() || Traits::Close(v);
    }

private:
    T value_ = Traits::Invalid();
};

// The second half of a paired call (CoInitialize and CoUninitialize, a lock
// and its release, SetErrorMode and its restore), run when the scope ends.
template <typename Undo>
class UniqueCall {
public:
    explicit UniqueCall(Undo undo) : undo_(std::move(undo)) {}
    UniqueCall(const UniqueCall&) = delete;
    UniqueCall& operator=(const UniqueCall&) = delete;
    ~UniqueCall() { undo_(); }

private:
    Undo undo_;
};

}  // namespace common
