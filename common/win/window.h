// The window base: one window procedure for every class of ours, which hands
// each message to the class's message map and falls back to DefWindowProc.
#pragma once

#include <windows.h>

#include <array>
#include <span>

#include "common/win/message_map.h"

namespace win {

struct WindowSpec {
    const char* className = "MouseWindow";
    const char* title = "";
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    HMENU menuOrId = nullptr;
    HICON icon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    UINT classStyle = 0;
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Registers the class on first use and creates the window; false on failure.
    bool Create(const WindowSpec& spec);
    // Attaches to a window created elsewhere (dialog items, subclassing).
    // A window of a wide class that keeps user text (a list of names) is
    // attached with wide procedures, so that its text never passes through
    // the ANSI code page between the system and its own procedure.
    enum class Procedures : bool { Ansi, Wide };
    bool Subclass(HWND hwnd, Procedures procedures = Procedures::Ansi);
    HWND Hwnd() const { return hwnd_; }

    static Window* FromHandle(HWND hwnd);
    // The window whose message this thread is handling now (the innermost one
    // when messages nest); null outside the messages of our windows.
    static HWND Handling();

  protected:
    // Destroys the window while the whole object still exists, so that the
    // class's own WM_DESTROY and WM_NCDESTROY rows run. ~Window comes too late
    // for them: by then the derived parts are gone and the window is only
    // detached and destroyed. So every class with such a row calls this first
    // thing in its destructor (for a window its owner may outlive the
    // handle of, it does nothing).
    void DestroyWindowNow();
    // The default processing of the message being handled now.
    LRESULT CallDefault();
    virtual bool Dispatch(const Message& m, LRESULT& result) = 0;
    // Called after WM_NCDESTROY, when the handle is gone.
    virtual void OnFinalMessage() {}

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT Route(const Message& m);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    Procedures procedures_ = Procedures::Ansi;
    const Message* current_ = nullptr;
};

// Binds a class's message map to the base dispatcher.
//
// It also holds the groups of rows that many windows share, as chained
// message maps do: each group routes a few messages to the handlers a window
// names for them by convention, and T's table joins the groups it uses with
// its own rows, checked as one table:
//   static constexpr auto rows = win::Checked(win::JoinRows(PaintedRows(), std::to_array(own)));
// The groups name T's handlers, so T befriends WindowImpl<T> when they are
// private.
template <class T>
class WindowImpl : public Window {
  protected:
    // WM_CREATE and WM_DESTROY: OnCreate, OnDestroy.
    static constexpr std::array<MessageRow<T>, 2> LifetimeRows() {
        return {OnMessage<WM_CREATE, &T::OnCreate, T>(), OnMessage<WM_DESTROY, &T::OnDestroy, T>()};
    }
    // WM_PAINT and WM_ERASEBKGND: OnPaint, OnEraseBkgnd.
    static constexpr std::array<MessageRow<T>, 2> PaintedRows() {
        return {OnMessage<WM_PAINT, &T::OnPaint, T>(),
                OnMessage<WM_ERASEBKGND, &T::OnEraseBkgnd, T>()};
    }
    // A press, the moves while it lasts and the release: OnLButtonDown,
    // OnMouseMove, OnLButtonUp.
    static constexpr std::array<MessageRow<T>, 3> DragRows() {
        return {OnMessage<WM_LBUTTONDOWN, &T::OnLButtonDown, T>(),
                OnMessage<WM_MOUSEMOVE, &T::OnMouseMove, T>(),
                OnMessage<WM_LBUTTONUP, &T::OnLButtonUp, T>()};
    }
    // A press, a double click taken as a press, and the release:
    // OnLButtonDown, OnLButtonUp.
    static constexpr std::array<MessageRow<T>, 3> PressRows() {
        return {OnMessage<WM_LBUTTONDOWN, &T::OnLButtonDown, T>(),
                OnMessage<WM_LBUTTONDBLCLK, &T::OnLButtonDown, T>(),
                OnMessage<WM_LBUTTONUP, &T::OnLButtonUp, T>()};
    }
    // What ends a press other than the release: the capture taken away
    // (OnCaptureChanged) or the focus lost (OnKillFocus).
    static constexpr std::array<MessageRow<T>, 2> PressLostRows() {
        return {OnMessage<WM_CAPTURECHANGED, &T::OnCaptureChanged, T>(),
                OnMessage<WM_KILLFOCUS, &T::OnKillFocus, T>()};
    }
    // The pointer over the window and leaving it: OnMouseMove, OnMouseLeave.
    static constexpr std::array<MessageRow<T>, 2> HoverRows() {
        return {OnMessage<WM_MOUSEMOVE, &T::OnMouseMove, T>(),
                OnMessage<WM_MOUSELEAVE, &T::OnMouseLeave, T>()};
    }
    // A control that takes keys itself: OnGetDlgCode says which, OnKeyDown
    // takes them.
    static constexpr std::array<MessageRow<T>, 2> KeyRows() {
        return {OnMessage<WM_GETDLGCODE, &T::OnGetDlgCode, T>(),
                OnMessage<WM_KEYDOWN, &T::OnKeyDown, T>()};
    }

    bool Dispatch(const Message& m, LRESULT& result) override {
        for (const auto& row : T::MessageMap()) {
            if (RowMatches(row, m)) {
                result = row.invoke(static_cast<T&>(*this), m);
                return true;
            }
        }
        return false;
    }
};

}  // namespace win
