#pragma once
// A status bar whose panes hold child controls. Panes are added in front of the initial
// message pane, which stays rightmost and takes the remaining width. Added panes are
// borderless; their controls (a label, a sunken text or an icon) use the status bar's font.
#include <windows.h>

#include <string>
#include <vector>

#include "common/handle_win.h"
#include "resource_ids.h"

namespace pagelark {

enum class PaneKind { Label, SunkenText, Icon };

class CStatusBar {
public:
    CStatusBar() = default;
    ~CStatusBar();
    CStatusBar(const CStatusBar&) = delete;
    CStatusBar& operator=(const CStatusBar&) = delete;

    // A visible status bar at the bottom of `parent` with one pane, the message pane.
    bool Create(HWND parent, int controlId = ID_STATUS_BAR);
    HWND hwnd() const { return hwnd_; }

    // Adds a pane of `width` pixels just before the message pane and returns its control.
    HWND AddPane(int paneId, int width, PaneKind kind, const std::wstring& text = {});
    HWND PaneControl(int paneId) const;
    void SetPaneText(int paneId, const std::wstring& text);
    std::wstring PaneText(int paneId) const;
    // Shows `icon` (not owned; it must outlive its display, e.g. a shared LoadImage icon) or nothing.
    void SetPaneIcon(int paneId, HICON icon);
    void SetMessageText(const std::wstring& text);
    std::wstring MessageText() const;

    // Call from the parent's WM_SIZE: moves the bar to the bottom and the controls into their panes.
    void Resize();
    int Height() const;
    HFONT Font() const { return font_.get(); }

private:
    struct Pane {
        int id;
        int width;
        HWND control;
    };
    void Layout();

    HWND hwnd_ = nullptr;
    FontHandle font_;
    std::vector<Pane> panes_;
    std::wstring message_;   // kept here: adding a pane moves the message pane to a new index
};

}  // namespace pagelark
