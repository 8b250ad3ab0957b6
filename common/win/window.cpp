#include "common/win/window.h"

#include <unordered_map>

namespace win {

namespace {

// Which object each of the process's windows belongs to, looked up on every
// message. Kept here rather than as a window property: under Wine every
// property read is a trip to the window server, a few for each message.
// Windows may live on several threads, hence the lock; never destroyed, so
// that objects destroyed at exit still find it.
class OwnerTable {
  public:
    static OwnerTable& Get() {
        static auto* table = new OwnerTable;
        return *table;
    }
    void Set(HWND hwnd, Window* owner) {
        AcquireSRWLockExclusive(&lock_);
        owners_[hwnd] = owner;
        ReleaseSRWLockExclusive(&lock_);
    }
    void Remove(HWND hwnd) {
        AcquireSRWLockExclusive(&lock_);
        owners_.erase(hwnd);
        ReleaseSRWLockExclusive(&lock_);
    }
    Window* Find(HWND hwnd) {
        AcquireSRWLockShared(&lock_);
        const auto found = owners_.find(hwnd);
        Window* owner = found != owners_.end() ? found->second : nullptr;
        ReleaseSRWLockShared(&lock_);
        return owner;
    }

  private:
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::unordered_map<HWND, Window*> owners_;
};

thread_local HWND t_handling = nullptr;

}  // namespace

UINT RegisteredMessage::Id() const {
    if (id_ == 0)
        id_ = RegisterWindowMessageA(name_);
    return id_;
}

Window::~Window() {
    if (hwnd_ != nullptr)
        OwnerTable::Get().Remove(hwnd_);
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        if (previousProc_ != nullptr) {
            const auto previous = reinterpret_cast<LONG_PTR>(previousProc_);
            if (procedures_ == Procedures::Wide)
                SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, previous);
            else
                SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, previous);
        }
        DestroyWindow(hwnd_);
    }
}

void Window::DestroyWindowNow() {
    // Routed like any other destruction: WM_NCDESTROY detaches the object.
    if (hwnd_ != nullptr && IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd != nullptr ? OwnerTable::Get().Find(hwnd) : nullptr;
}

HWND Window::Handling() {
    return t_handling;
}

bool Window::Create(const WindowSpec& spec) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (!GetClassInfoExA(instance, spec.className, &existing)) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = spec.classStyle;
        wc.lpfnWndProc = &Window::WindowProc;
        wc.hInstance = instance;
        wc.hIcon = spec.icon;
        wc.hCursor = spec.cursor;
        wc.hbrBackground = spec.background;
        wc.lpszClassName = spec.className;
        if (RegisterClassExA(&wc) == 0)
            return false;
    }
    HWND hwnd =
        CreateWindowExA(spec.exStyle, spec.className, spec.title, spec.style, spec.x, spec.y,
                        spec.width, spec.height, spec.parent, spec.menuOrId, instance, this);
    return hwnd != nullptr;
}

bool Window::Subclass(HWND hwnd, Procedures procedures) {
    if (hwnd == nullptr || hwnd_ != nullptr)
        return false;
    hwnd_ = hwnd;
    procedures_ = procedures;
    OwnerTable::Get().Set(hwnd, this);
    const auto own = reinterpret_cast<LONG_PTR>(&Window::WindowProc);
    previousProc_ = reinterpret_cast<WNDPROC>(procedures == Procedures::Wide
                                                  ? SetWindowLongPtrW(hwnd, GWLP_WNDPROC, own)
                                                  : SetWindowLongPtrA(hwnd, GWLP_WNDPROC, own));
    return previousProc_ != nullptr;
}

LRESULT Window::CallDefault() {
    if (current_ == nullptr)
        return 0;
    const Message& m = *current_;
    if (previousProc_ != nullptr && procedures_ == Procedures::Wide)
        return CallWindowProcW(previousProc_, m.hwnd, m.msg, m.wParam, m.lParam);
    if (previousProc_ != nullptr)
        return CallWindowProcA(previousProc_, m.hwnd, m.msg, m.wParam, m.lParam);
    return DefWindowProcA(m.hwnd, m.msg, m.wParam, m.lParam);
}

LRESULT Window::Route(const Message& m) {
    const Message* outer = current_;
    const HWND outerHandling = t_handling;
    current_ = &m;
    t_handling = m.hwnd;
    LRESULT result = 0;
    if (!Dispatch(m, result))
        result = CallDefault();
    current_ = outer;
    t_handling = outerHandling;
    return result;
}

LRESULT CALLBACK Window::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(hwnd);
    if (self == nullptr && msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(create->lpCreateParams);
        if (self != nullptr) {
            self->hwnd_ = hwnd;
            OwnerTable::Get().Set(hwnd, self);
        }
    }
    if (self == nullptr)
        return DefWindowProcA(hwnd, msg, wParam, lParam);

    const LRESULT result = self->Route(Message{hwnd, msg, wParam, lParam});
    if (msg == WM_NCDESTROY) {
        OwnerTable::Get().Remove(hwnd);
        self->hwnd_ = nullptr;
        self->OnFinalMessage();
    }
    return result;
}

}  // namespace win
