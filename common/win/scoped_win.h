// Scoped owners of system handles: each closes what it holds exactly once, in
// its destructor or when given something else. Movable, never copyable.
//
//   win::ScopedHandle event(CreateEventA(...));       // CloseHandle
//   win::ScopedFileHandle file(CreateFileA(...));     // INVALID_HANDLE_VALUE is empty
//   win::ScopedGdi<HBITMAP> bitmap(CreateDIBSection(...));
//   win::ScopedDc dc(CreateCompatibleDC(nullptr));
//   win::ScopedSelect keep(dc.Get(), bitmap.Get());   // puts the old object back
//   win::ScopedMutexOwner owner(mutex, INFINITE);     // ReleaseMutex when owned
#pragma once

#include <windows.h>

#include <utility>

namespace win {

template <class H, class Traits>
class ScopedOwner {
  public:
    ScopedOwner() = default;
    explicit ScopedOwner(H handle) : handle_(handle) {}
    ~ScopedOwner() { Close(); }
    ScopedOwner(const ScopedOwner&) = delete;
    ScopedOwner& operator=(const ScopedOwner&) = delete;
    ScopedOwner(ScopedOwner&& other) noexcept : handle_(other.Release()) {}
    ScopedOwner& operator=(ScopedOwner&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    H Get() const { return handle_; }
    bool Valid() const { return handle_ != Traits::Empty(); }
    explicit operator bool() const { return Valid(); }

    // Closes what is held and takes `handle` instead.
    void Reset(H handle = Traits::Empty()) {
        if (handle == handle_)
            return;
        Close();
        handle_ = handle;
    }
    // Gives up ownership without closing.
    H Release() { return std::exchange(handle_, Traits::Empty()); }

  private:
    void Close() {
        if (Valid())
            Traits::Close(handle_);
        handle_ = Traits::Empty();
    }

    H handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    static HANDLE Empty() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

// CreateFile and its kin report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};

template <class G>
struct GdiObjectTraits {
    static G Empty() { return nullptr; }
    static void Close(G h) { DeleteObject(h); }
};

struct MemoryDcTraits {
    static HDC Empty() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};

struct ModuleTraits {
    static HMODULE Empty() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

struct MappedViewTraits {
    static void* Empty() { return nullptr; }
    static void Close(void* view) { UnmapViewOfFile(view); }
};

using ScopedHandle = ScopedOwner<HANDLE, KernelHandleTraits>;
using ScopedFileHandle = ScopedOwner<HANDLE, FileHandleTraits>;
template <class G>
using ScopedGdi = ScopedOwner<G, GdiObjectTraits<G>>;
using ScopedDc = ScopedOwner<HDC, MemoryDcTraits>;
using ScopedModule = ScopedOwner<HMODULE, ModuleTraits>;
using ScopedView = ScopedOwner<void*, MappedViewTraits>;

// A DC obtained with GetDC, released to its window.
class ScopedWindowDc {
  public:
    explicit ScopedWindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~ScopedWindowDc() {
        if (dc_ != nullptr)
            ReleaseDC(hwnd_, dc_);
    }
    ScopedWindowDc(const ScopedWindowDc&) = delete;
    ScopedWindowDc& operator=(const ScopedWindowDc&) = delete;
    HDC Get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a DC for the life of the scope.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Ownership of a mutex for the life of the scope. An abandoned mutex is owned
// too (the wait says so through Abandoned()); a failed or timed-out wait owns
// nothing and releases nothing.
class ScopedMutexOwner {
  public:
    ScopedMutexOwner(HANDLE mutex, DWORD timeoutMs) : mutex_(mutex) {
        const DWORD result = mutex == nullptr ? WAIT_FAILED : WaitForSingleObject(mutex, timeoutMs);
        owned_ = result == WAIT_OBJECT_0 || result == WAIT_ABANDONED;
        abandoned_ = result == WAIT_ABANDONED;
    }
    ~ScopedMutexOwner() {
        if (owned_)
            ReleaseMutex(mutex_);
    }
    ScopedMutexOwner(const ScopedMutexOwner&) = delete;
    ScopedMutexOwner& operator=(const ScopedMutexOwner&) = delete;

    bool Owned() const { return owned_; }
    bool Abandoned() const { return abandoned_; }

  private:
    HANDLE mutex_;
    bool owned_ = false;
    bool abandoned_ = false;
};

}  // namespace win
