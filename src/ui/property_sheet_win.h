#pragma once
// Property sheets and wizards whose pages come from dialog templates of one language.
//
//   class CMyPage : public CPropertyPage { ... override OnInitDialog, OnWizardNext, ... };
//   CPropertySheet sheet(L"Caption", instance, language);
//   sheet.SetWizardMode(true);
//   sheet.AddPage(page1); sheet.AddPage(page2);
//   INT_PTR result = sheet.DoModal(owner);   // > 0: finished / OK, 0: cancelled, -1: failure
//
// A page object must outlive DoModal; its window exists from its first activation to the
// sheet's end. No Help button is shown.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

namespace pagelark {

class CPropertySheet;

class CPropertyPage {
public:
    explicit CPropertyPage(int templateId) : templateId_(templateId) {}
    virtual ~CPropertyPage() = default;
    CPropertyPage(const CPropertyPage&) = delete;
    CPropertyPage& operator=(const CPropertyPage&) = delete;

    HWND hwnd() const { return hwnd_; }
    int TemplateId() const { return templateId_; }
    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
    CPropertySheet* Sheet() const { return sheet_; }
    HWND SheetWindow() const { return hwnd_ ? GetParent(hwnd_) : nullptr; }

    // Wizard buttons of this page (PSWIZB_BACK | PSWIZB_NEXT | PSWIZB_FINISH ...).
    void SetWizardButtons(DWORD buttons) const;
    // Marks the page changed (enables "Apply") or unchanged.
    void SetModified(bool modified) const;

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    // Return true when handled.
    virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }
    virtual bool OnSetActive() { return true; }   // false: skip to the next page
    virtual bool OnKillActive() { return true; }  // false: the page keeps the focus (invalid data)
    // Wizard moves: return 0 for the default move, -1 to stay, or a template id to go to.
    virtual int OnWizardNext() { return 0; }
    virtual int OnWizardBack() { return 0; }
    virtual bool OnWizardFinish() { return true; }  // false keeps the wizard open
    virtual bool OnApply() { return true; }         // false keeps the sheet open
    virtual void OnReset() {}                       // Cancel was chosen
    virtual bool OnQueryCancel() { return true; }   // false refuses Cancel
    // Every other message; return true and set `result` when handled.
    virtual bool OnMessage(UINT /*message*/, WPARAM, LPARAM, INT_PTR& /*result*/) { return false; }

private:
    friend class CPropertySheet;
    static INT_PTR CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnNotify(NMHDR* header);

    int templateId_;
    HWND hwnd_ = nullptr;
    CPropertySheet* sheet_ = nullptr;
};

class CPropertySheet {
public:
    CPropertySheet(std::wstring caption, HINSTANCE module, LANGID language)
        : caption_(std::move(caption)), module_(module), language_(language) {}
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void AddPage(CPropertyPage& page) { pages_.push_back(&page); }
    void SetWizardMode(bool wizard) { wizard_ = wizard; }
    void SetApplyButton(bool shown) { applyButton_ = shown; }
    void SetStartPage(int index) { startPage_ = index; }

    // Runs the sheet modally: 1 when the wizard finished or OK was accepted, 0 when cancelled,
    // -1 when the sheet could not be created (a template is missing).
    INT_PTR DoModal(HWND owner);

    HWND hwnd() const { return hwnd_; }
    HINSTANCE Module() const { return module_; }
    LANGID Language() const { return language_; }
    bool IsWizard() const { return wizard_; }
    // Position of the page built from `templateId`, or -1.
    int IndexOf(int templateId) const;

private:
    friend class CPropertyPage;
    std::wstring caption_;
    HINSTANCE module_;
    LANGID language_;
    bool wizard_ = false;
    bool applyButton_ = false;
    int startPage_ = 0;
    bool accepted_ = false;
    std::vector<CPropertyPage*> pages_;
    HWND hwnd_ = nullptr;
};

}  // namespace pagelark
