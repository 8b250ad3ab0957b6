// The window base: one window procedure for every class of ours, which hands
// each message to the class's message map and falls back to DefWindowProc.
#pragma once

#include <windows.h>

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
template <class T>
class WindowImpl : public Window {
  protected:
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
