#include "ui/property_sheet_win.h"

#include "ui/common_controls_win.h"
#include "ui/language_resource_win.h"

namespace pagelark {

void CPropertyPage::SetWizardButtons(DWORD buttons) const {
    if (HWND sheet = SheetWindow()) PostMessageW(sheet, PSM_SETWIZBUTTONS, 0, static_cast<LPARAM>(buttons));
}

void CPropertyPage::SetModified(bool modified) const {
    if (HWND sheet = SheetWindow())
        SendMessageW(sheet, modified ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(hwnd_), 0);
}

INT_PTR CALLBACK CPropertyPage::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CPropertyPage* page = nullptr;
    if (message == WM_INITDIALOG) {
        auto* sheetPage = reinterpret_cast<PROPSHEETPAGEW*>(lParam);
        page = reinterpret_cast<CPropertyPage*>(sheetPage->lParam);
        page->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(page));
        if (page->sheet_) page->sheet_->hwnd_ = GetParent(hwnd);
        return page->OnInitDialog();
    }
    page = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!page) return FALSE;
    INT_PTR result = 0;
    switch (message) {
    case WM_COMMAND:
        return page->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)) ? TRUE : FALSE;
    case WM_NOTIFY:
        if (page->OnMessage(message, wParam, lParam, result)) return result;
        return page->OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_NCDESTROY:
        page->hwnd_ = nullptr;
        SetWindowLongPtrW(hwnd, DWLP_USER, 0);
        return FALSE;
    default:
        return page->OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }
}

INT_PTR CPropertyPage::OnNotify(NMHDR* header) {
    if (!header || header->hwndFrom != SheetWindow()) return FALSE;
    LONG_PTR answer = 0;
    switch (header->code) {
    case PSN_SETACTIVE:
        answer = OnSetActive() ? 0 : -1;
        break;
    case PSN_KILLACTIVE:
        answer = OnKillActive() ? FALSE : TRUE;
        break;
    case PSN_WIZNEXT:
    case PSN_WIZBACK: {
        const int target = header->code == PSN_WIZNEXT ? OnWizardNext() : OnWizardBack();
        answer = target == 0 ? 0 : -1;
        // Pages built from in-memory templates have no resource id the sheet could look up,
        // so a jump goes by index once this notification is over.
        if (target > 0 && sheet_) {
            const int index = sheet_->IndexOf(target);
            if (index >= 0) PostMessageW(SheetWindow(), PSM_SETCURSEL, static_cast<WPARAM>(index), 0);
        }
        break;
    }
    case PSN_WIZFINISH: {
        const bool finish = OnWizardFinish();
        if (finish && sheet_) sheet_->accepted_ = true;
        answer = finish ? FALSE : TRUE;
        break;
    }
    case PSN_APPLY: {
        const bool applied = OnApply();
        if (applied && sheet_ && reinterpret_cast<PSHNOTIFY*>(header)->lParam) sheet_->accepted_ = true;
        answer = applied ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
        break;
    }
    case PSN_RESET:
        OnReset();
        break;
    case PSN_QUERYCANCEL:
        answer = OnQueryCancel() ? FALSE : TRUE;
        break;
    default:
        return FALSE;
    }
    SetWindowLongPtrW(hwnd_, DWLP_MSGRESULT, answer);
    return TRUE;
}

int CPropertySheet::IndexOf(int templateId) const {
    for (size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i]->TemplateId() == templateId) return static_cast<int>(i);
    return -1;
}

INT_PTR CPropertySheet::DoModal(HWND owner) {
    std::vector<HPROPSHEETPAGE> handles;
    for (CPropertyPage* page : pages_) {
        const void* dialog = FindLanguageResource(module_, RT_DIALOG, page->TemplateId(), language_);
        if (!dialog) break;
        page->sheet_ = this;
        PROPSHEETPAGEW psp{};
        psp.dwSize = sizeof psp;
        psp.dwFlags = PSP_DLGINDIRECT;
        psp.hInstance = module_;
        psp.pResource = static_cast<LPCDLGTEMPLATEW>(dialog);
        psp.pfnDlgProc = &CPropertyPage::Proc;
        psp.lParam = reinterpret_cast<LPARAM>(page);
        HPROPSHEETPAGE handle = CreatePropertySheetPageW(&psp);
        if (!handle) break;
        handles.push_back(handle);
    }
    if (handles.size() != pages_.size() || handles.empty()) {
        for (HPROPSHEETPAGE handle : handles) DestroyPropertySheetPage(handle);
        return -1;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_NOCONTEXTHELP | (wizard_ ? PSH_WIZARD : 0) | (applyButton_ ? 0 : PSH_NOAPPLYNOW);
    header.hwndParent = owner;
    header.hInstance = module_;
    header.pszCaption = caption_.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.nStartPage = static_cast<UINT>(startPage_);
    header.phpage = handles.data();
    accepted_ = false;
    EnsureCommonControls();
    const INT_PTR result = PropertySheetW(&header);
    hwnd_ = nullptr;
    for (CPropertyPage* page : pages_) page->sheet_ = nullptr;
    if (result < 0) return -1;
    return accepted_ ? 1 : 0;
}

}  // namespace pagelark
