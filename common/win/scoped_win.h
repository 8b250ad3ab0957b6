// Scoped owners of system handles: each closes what it holds exactly once, in
// its destructor or when given something else. Movable, never copyable.
//
//   win::ScopedHandle event(CreateEventA(...));       // CloseHandle
//   win::ScopedFileHandle file(CreateFileA(...));     // INVALID_HANDLE_VALUE is empty
//   win::ScopedGdi<HBITMAP> bitmap(CreateDIBSection(...));
//   win::ScopedDc dc(CreateCompatibleDC(nullptr));
//   win::ScopedSelect keep(dc.Get(), bitmap.Get());   // puts the old object back
//   win::ScopedMutexOwner owner(mutex, INFINITE);     // ReleaseMutex when owned
//   win::ScopedPaint paint(hwnd);                     // BeginPaint .. EndPaint
//   win::ScopedRegKey key; RegOpenKeyExA(..., key.Receive());
//   win::ScopedComApartment com;                      // CoInitialize .. CoUninitialize
//
// This is the one place where handles are released by hand; everything else
// holds them here.
#pragma once

#include <windows.h>
// After windows.h, which they need.
#include <mmsystem.h>
#include <objbase.h>
#include <setupapi.h>

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
    // Closes what is held now; false when the system refused (or nothing was held).
    bool Free() { return Close(); }
    // For functions that hand a new handle back through a pointer: closes
    // what is held first.
    H* Receive() {
        Close();
        return &handle_;
    }

  private:
    bool Close() {
        const bool closed = Valid() && Traits::Close(handle_);
        handle_ = Traits::Empty();
        return closed;
    }

    H handle_ = Traits::Empty();
};

struct KernelHandleTraits {
    static HANDLE Empty() { return nullptr; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};

// CreateFile and its kin report failure as INVALID_HANDLE_VALUE, not null.
struct FileHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return CloseHandle(h) != FALSE; }
};

// FindFirstFile's search handle: INVALID_HANDLE_VALUE when nothing was found.
struct FindHandleTraits {
    static HANDLE Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(HANDLE h) { return FindClose(h) != FALSE; }
};

template <class G>
struct GdiObjectTraits {
    static G Empty() { return nullptr; }
    static bool Close(G h) { return DeleteObject(h) != FALSE; }
};

struct MemoryDcTraits {
    static HDC Empty() { return nullptr; }
    static bool Close(HDC h) { return DeleteDC(h) != FALSE; }
};

struct ModuleTraits {
    static HMODULE Empty() { return nullptr; }
    static bool Close(HMODULE h) { return FreeLibrary(h) != FALSE; }
};

struct MappedViewTraits {
    static void* Empty() { return nullptr; }
    static bool Close(void* view) { return UnmapViewOfFile(view) != FALSE; }
};

struct RegKeyTraits {
    static HKEY Empty() { return nullptr; }
    static bool Close(HKEY key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};

struct HookTraits {
    static HHOOK Empty() { return nullptr; }
    static bool Close(HHOOK hook) { return UnhookWindowsHookEx(hook) != FALSE; }
};

struct MenuTraits {
    static HMENU Empty() { return nullptr; }
    static bool Close(HMENU menu) { return DestroyMenu(menu) != FALSE; }
};

struct IconTraits {
    static HICON Empty() { return nullptr; }
    static bool Close(HICON icon) { return DestroyIcon(icon) != FALSE; }
};

// Movable global memory, as the stream-on-memory functions want it.
struct GlobalMemoryTraits {
    static HGLOBAL Empty() { return nullptr; }
    static bool Close(HGLOBAL memory) { return GlobalFree(memory) == nullptr; }
};

// Blocks the system allocates for its caller with LocalAlloc
// (CommandLineToArgvW, FormatMessage).
struct LocalMemoryTraits {
    static HLOCAL Empty() { return nullptr; }
    static bool Close(HLOCAL h) { return LocalFree(h) == nullptr; }
};

// The setup functions report failure as INVALID_HANDLE_VALUE, not null.
struct DeviceInfoSetTraits {
    static HDEVINFO Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(HDEVINFO set) { return SetupDiDestroyDeviceInfoList(set) != FALSE; }
};

struct DeviceNotifyTraits {
    static HDEVNOTIFY Empty() { return nullptr; }
    static bool Close(HDEVNOTIFY notify) { return UnregisterDeviceNotification(notify) != FALSE; }
};

using ScopedHandle = ScopedOwner<HANDLE, KernelHandleTraits>;
using ScopedFileHandle = ScopedOwner<HANDLE, FileHandleTraits>;
using ScopedFind = ScopedOwner<HANDLE, FindHandleTraits>;
template <class G>
using ScopedGdi = ScopedOwner<G, GdiObjectTraits<G>>;
using ScopedDc = ScopedOwner<HDC, MemoryDcTraits>;
using ScopedModule = ScopedOwner<HMODULE, ModuleTraits>;
using ScopedView = ScopedOwner<void*, MappedViewTraits>;
using ScopedRegKey = ScopedOwner<HKEY, RegKeyTraits>;
using ScopedHook = ScopedOwner<HHOOK, HookTraits>;
using ScopedMenu = ScopedOwner<HMENU, MenuTraits>;
using ScopedIcon = ScopedOwner<HICON, IconTraits>;
using ScopedGlobal = ScopedOwner<HGLOBAL, GlobalMemoryTraits>;
using ScopedLocal = ScopedOwner<HLOCAL, LocalMemoryTraits>;
using ScopedDeviceInfoSet = ScopedOwner<HDEVINFO, DeviceInfoSetTraits>;
using ScopedDeviceNotify = ScopedOwner<HDEVNOTIFY, DeviceNotifyTraits>;

// Which part of a window a DC draws on: its client area (GetDC), the whole
// window, frame included (GetWindowDC), or the client area over its child
// windows too, whatever the window's style (GetDCEx without clipping them).
enum class DcArea { Client, Window, ClientOverChildren };

// A DC obtained with GetDC or GetWindowDC, released to its window (null: the
// screen).
class ScopedWindowDc {
  public:
    explicit ScopedWindowDc(HWND hwnd, DcArea area = DcArea::Client)
        : hwnd_(hwnd),
          dc_(area == DcArea::Window ? GetWindowDC(hwnd)
              : area == DcArea::ClientOverChildren
                  ? GetDCEx(hwnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS)
                  : GetDC(hwnd)) {}
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

// Hands `region` to the window, which owns it once it is set; a region the
// window refused is deleted here. Returns whether the window took it.
inline bool GiveWindowRegion(HWND hwnd, ScopedGdi<HRGN> region, bool redraw) {
    if (SetWindowRgn(hwnd, region.Get(), redraw ? TRUE : FALSE) == 0)
        return false;
    region.Release();
    return true;
}

// A paint session of WM_PAINT: BeginPaint now, EndPaint at the end of the scope.
class ScopedPaint {
  public:
    explicit ScopedPaint(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~ScopedPaint() { EndPaint(hwnd_, &paint_); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
    HDC Get() const { return dc_; }
    const PAINTSTRUCT& Info() const { return paint_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
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

// COM initialised on this thread (a single-threaded apartment) for the life of
// the object; uninitialised only when the initialisation succeeded.
class ScopedComApartment {
  public:
    ScopedComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ScopedComApartment() {
        if (initialized_)
            CoUninitialize();
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;

  private:
    bool initialized_;
};

// The system timer resolution raised to 1 ms for the life of the object.
class TimerResolution {
  public:
    TimerResolution() : raised_(timeBeginPeriod(1) == TIMERR_NOERROR) {}
    ~TimerResolution() {
        if (raised_)
            timeEndPeriod(1);
    }
    TimerResolution(const TimerResolution&) = delete;
    TimerResolution& operator=(const TimerResolution&) = delete;

  private:
    bool raised_;
};

}  // namespace win
