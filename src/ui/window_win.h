#pragma once
// Base of our windows: binds the C++ object to its HWND in WM_NCCREATE and hands every message
// to HandleMessage. Non-copyable; the object must outlive its window.
#include <windows.h>

namespace pagelark {

class Window {
public:
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

protected:
    Window() = default;
    virtual ~Window();

    // Registers `className` once per process with this base's window procedure.
    static bool RegisterWindowClass(const wchar_t* className, HICON icon, HBRUSH background,
                                    UINT classStyle = CS_DBLCLKS);
    // Creates the window; the object is bound before WM_NCCREATE returns.
    HWND CreateWindowOf(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                        int width, int height, HWND parent, HMENU menu);

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // After WM_NCDESTROY, once the HWND is gone; a heap-owned window may delete itself here.
    virtual void OnWindowGone() {}

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND hwnd_ = nullptr;
};

}  // namespace pagelark
