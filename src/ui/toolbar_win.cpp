#include "ui/toolbar_win.h"

#include <uxtheme.h>

#include "ui/command_ids.h"
#include "ui/common_controls_win.h"
#include "ui/language_resource_win.h"

namespace pagelark {
namespace {

const LPCWSTR kToolbarResource = MAKEINTRESOURCEW(241);  // RT_TOOLBAR
constexpr COLORREF kStripBackground = RGB(192, 192, 192);

COLORREF ToColorref(Rgb c) { return RGB(c.r, c.g, c.b); }

// Button ids of a TOOLBAR resource (0 = separator). Microsoft's resource compiler writes WORDs:
// version 1, width, height, count, ids; GNU windres writes DWORDs: width, height, count, ids.
std::vector<int> ReadToolbarResource(HINSTANCE module, int id, LANGID language) {
    DWORD size = 0;
    const auto* data = static_cast<const BYTE*>(FindLanguageResource(module, kToolbarResource, id, language, &size));
    std::vector<int> ids;
    if (!data || size < 8) return ids;
    auto word = [&](DWORD offset) { WORD w; memcpy(&w, data + offset, 2); return static_cast<DWORD>(w); };
    auto dword = [&](DWORD offset) { DWORD d; memcpy(&d, data + offset, 4); return d; };
    if (word(0) == 1 && size >= 8 + 2 * word(6)) {
        for (DWORD i = 0; i < word(6); ++i) ids.push_back(static_cast<int>(word(8 + 2 * i)));
    } else if (size >= 12 && size >= 12 + 4 * static_cast<unsigned long long>(dword(8))) {
        for (DWORD i = 0; i < dword(8); ++i) ids.push_back(static_cast<int>(dword(12 + 4 * i)));
    }
    return ids;
}

// "prompt\ntip" -> "tip"
std::wstring TipOf(const std::wstring& text) {
    const size_t lineBreak = text.find(L'\n');
    return lineBreak == std::wstring::npos ? text : text.substr(lineBreak + 1);
}

void FillVerticalGradient(HDC dc, const RECT& rect, Rgb top, Rgb bottom) {
    const int height = rect.bottom - rect.top;
    for (int y = 0; y < height; ++y) {
        const Rgb c = GradientAt(top, bottom, y, height);
        const BrushHandle brush(CreateSolidBrush(ToColorref(c)));
        RECT line{rect.left, rect.top + y, rect.right, rect.top + y + 1};
        FillRect(dc, &line, brush.get());
    }
}

}  // namespace

CToolBar::~CToolBar() {
    if (hwnd_ && IsWindow(hwnd_)) {
        RemoveWindowSubclass(hwnd_, &CToolBar::PaintProc, 1);
        DestroyWindow(hwnd_);
    }
}

bool CToolBar::Create(HWND parent, HINSTANCE module, LANGID language, const ToolbarChoice& choice, int controlId) {
    if (hwnd_) return false;  // one toolbar per object
    const std::vector<int> ids = ReadToolbarResource(module, choice.toolbarId, language);
    const BitmapHandle strip(static_cast<HBITMAP>(
        LoadImageW(module, MAKEINTRESOURCEW(choice.bitmapId), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (ids.empty() || !strip) return false;
    look_ = choice.look;

    EnsureCommonControls();
    images_.reset(ImageList_Create(choice.imageSize, choice.imageSize, ILC_COLOR24 | ILC_MASK, 10, 0));
    ImageList_AddMasked(images_.get(), strip.get(), kStripBackground);

    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | CCS_TOP | TBSTYLE_TOOLTIPS;
    // Classic: raised buttons under the etched divider line; the other looks are flat, without it.
    if (look_ != Look::Classic) style |= TBSTYLE_FLAT | CCS_NODIVIDER;
    style |= TBSTYLE_LIST;  // the Send caption stands beside its picture
    hwnd_ = CreateWindowExW(0, TOOLBARCLASSNAMEW, L"Standard", style, 0, 0, 0, 0, parent,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)), module, nullptr);
    if (!hwnd_) return false;
    SendMessageW(hwnd_, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    // Only buttons marked BTNS_SHOWTEXT (Send) show their caption; the others use it as tool tip.
    SendMessageW(hwnd_, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(hwnd_, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images_.get()));
    if (look_ == Look::Classic) SetWindowTheme(hwnd_, L"", L"");  // raised, classic buttons
    if (look_ == Look::Office2003 || look_ == Look::Express)
        SetWindowSubclass(hwnd_, &CToolBar::PaintProc, 1, static_cast<DWORD_PTR>(look_));

    captions_.reserve(ids.size());
    std::vector<TBBUTTON> buttons;
    for (int id : ids) {
        TBBUTTON button{};
        if (id == 0) {
            button.fsStyle = BTNS_SEP;
            buttons.push_back(button);
            continue;
        }
        const auto info = FindCommand(id);
        captions_.push_back(TipOf(LoadLanguageString(module, info ? info->textId : id, language)));
        button.iBitmap = info && info->image >= 0 ? info->image : I_IMAGENONE;
        button.idCommand = id;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | (id == command::kSend ? BTNS_SHOWTEXT : 0);
        button.iString = reinterpret_cast<INT_PTR>(captions_.back().c_str());
        buttons.push_back(button);
    }
    SendMessageW(hwnd_, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    if (choice.buttonSize > 0)
        SendMessageW(hwnd_, TB_SETBUTTONSIZE, 0, MAKELPARAM(choice.buttonSize, choice.buttonSize));
    Resize();
    return true;
}

int CToolBar::Resize() {
    if (!hwnd_) return 0;
    SendMessageW(hwnd_, TB_AUTOSIZE, 0, 0);
    return Height();
}

int CToolBar::Height() const {
    if (!hwnd_) return 0;
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r.bottom - r.top;
}

void CToolBar::UpdateEnabling(const CommandState& state) {
    for (int id : ButtonIds()) {
        const bool enabled = IsCommandEnabled(id, state);
        if (IsButtonEnabled(id) != enabled) SendMessageW(hwnd_, TB_ENABLEBUTTON, id, MAKELPARAM(enabled, 0));
    }
}

bool CToolBar::HasButton(int commandId) const {
    return hwnd_ && SendMessageW(hwnd_, TB_COMMANDTOINDEX, commandId, 0) >= 0;
}

bool CToolBar::IsButtonEnabled(int commandId) const {
    return HasButton(commandId) && SendMessageW(hwnd_, TB_ISBUTTONENABLED, commandId, 0) != 0;
}

std::vector<int> CToolBar::ButtonIds() const {
    std::vector<int> ids;
    if (!hwnd_) return ids;
    const int count = static_cast<int>(SendMessageW(hwnd_, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (SendMessageW(hwnd_, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) && !(button.fsStyle & BTNS_SEP))
            ids.push_back(button.idCommand);
    }
    return ids;
}

LRESULT CALLBACK CToolBar::PaintProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
    if (message == WM_ERASEBKGND) {
        RECT r;
        GetClientRect(hwnd, &r);
        HDC dc = reinterpret_cast<HDC>(wParam);
        if (static_cast<Look>(data) == Look::Office2003) {
            FillVerticalGradient(dc, r, kOffice2003ButtonTop, kOffice2003Second);
        } else {
            const BrushHandle brush(CreateSolidBrush(ToColorref(kExpressToolbar)));
            FillRect(dc, &r, brush.get());
        }
        return 1;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace pagelark
