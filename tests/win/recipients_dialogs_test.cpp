// Select Names and Check Names driven through their controls, as a user would.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "numbers/check_names_dlg_win.h"
#include "numbers/contacts_dlg_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"

using namespace pagelark;

namespace {

// Runs `script` on the dialog once it is up (a timer fires inside the modal loop).
std::function<void(HWND)> g_script;

HWND FindOpenDialog() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM out) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(hwnd, cls, 16);
            if (std::wstring(cls) == L"#32770" && IsWindowVisible(hwnd)) {
                *reinterpret_cast<HWND*>(out) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = FindOpenDialog();
    if (!dialog) return;
    KillTimer(nullptr, timer);
    auto script = std::move(g_script);
    g_script = nullptr;
    if (script) script(dialog);
}

template <typename D>
INT_PTR Drive(D& dialog, std::function<void(HWND)> script) {
    g_script = std::move(script);
    SetTimer(nullptr, 0, 20, &RunScript);
    return dialog.DoModal();
}

std::vector<std::wstring> ListBoxTexts(HWND list) {
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        texts.push_back(text);
    }
    return texts;
}

void Command(HWND dialog, int id, int notification = BN_CLICKED) {
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

Contact Person(std::string name, std::string mobile, std::string email) {
    Contact c;
    c.name = std::move(name);
    c.mobile = std::move(mobile);
    c.email = std::move(email);
    return c;
}

std::shared_ptr<const ContactList> SampleBook() {
    auto book = std::make_shared<ContactList>();
    book->push_back(Person("Anna Meier", "+491701234567", "anna@example.org"));
    book->push_back(Person("Bert Kurz", "+491609876543", ""));
    book->push_back(Person("Cora Lind", "", "cora@example.org"));
    Contact team = Person("Team", "", "");
    team.members = {Person("Anna Meier", "+491701234567", "anna@example.org")};
    book->push_back(team);
    return book;
}

class RecipientDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&init);
        SetResourceLanguage(1033);
    }
};

}  // namespace

TEST_F(RecipientDialogs, SelectNamesShowsTheFieldAndGivesItBackUnchanged) {
    CContactsDlg dialog(RecipientMode::Number, SampleBook(), nullptr);
    dialog.SetFieldText("a; b;c ;");
    std::vector<std::wstring> recipients;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        recipients = ListBoxTexts(GetDlgItem(d, CContactsDlg::kRecipientsList));
        Command(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(recipients, (std::vector<std::wstring>{L"a", L"b", L"c"}));
    EXPECT_EQ(dialog.FieldText(), "a; b; c");
}

TEST_F(RecipientDialogs, NumberModeListsMobilesAndListsByNameEMailModeOnlyAddresses) {
    std::vector<std::wstring> numbers, mails;
    CContactsDlg numberDialog(RecipientMode::Number, SampleBook(), nullptr);
    Drive(numberDialog, [&](HWND d) {
        numbers = ListBoxTexts(GetDlgItem(d, CContactsDlg::kAddressBookList));
        Command(d, IDCANCEL);
    });
    EXPECT_EQ(numbers, (std::vector<std::wstring>{L"Anna Meier (+491701234567)", L"Bert Kurz (+491609876543)", L"Team"}));
    CContactsDlg mailDialog(RecipientMode::EMail, SampleBook(), nullptr);
    Drive(mailDialog, [&](HWND d) {
        mails = ListBoxTexts(GetDlgItem(d, CContactsDlg::kAddressBookList));
        Command(d, IDCANCEL);
    });
    // Bert has a mobile but no e-mail address: not listed.
    EXPECT_EQ(mails, (std::vector<std::wstring>{L"Anna Meier (anna@example.org)", L"Cora Lind (cora@example.org)", L"Team"}));
}

TEST_F(RecipientDialogs, AddRemoveAndDoubleClicksEditTheRecipients) {
    CContactsDlg dialog(RecipientMode::Number, SampleBook(), nullptr);
    dialog.SetFieldText("+4930123");
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        HWND book = GetDlgItem(d, CContactsDlg::kAddressBookList);
        HWND recipients = GetDlgItem(d, CContactsDlg::kRecipientsList);
        Command(d, CContactsDlg::kAddButton);      // nothing selected: nothing happens
        Command(d, CContactsDlg::kRemoveButton);
        EXPECT_EQ(ListBoxTexts(recipients).size(), 1u);
        SendMessageW(book, LB_SETCURSEL, 0, 0);
        Command(d, CContactsDlg::kAddButton);
        Command(d, CContactsDlg::kAddButton);      // the same entry may be added twice
        SendMessageW(book, LB_SETCURSEL, 2, 0);
        Command(d, CContactsDlg::kAddressBookList, LBN_DBLCLK);
        SendMessageW(recipients, LB_SETCURSEL, 0, 0);
        Command(d, CContactsDlg::kRecipientsList, LBN_DBLCLK);
        SendMessageW(recipients, LB_SETCURSEL, 1, 0);
        Command(d, CContactsDlg::kRemoveButton);
        Command(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(dialog.FieldText(), "Anna Meier (+491701234567); Team");
}

TEST_F(RecipientDialogs, CancelLeavesTheFieldAndNoContactListStillOpens) {
    CContactsDlg dialog(RecipientMode::EMail, nullptr, nullptr);
    dialog.SetFieldText("x@example.org");
    int bookCount = -1;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        bookCount = static_cast<int>(SendDlgItemMessageW(d, CContactsDlg::kAddressBookList, LB_GETCOUNT, 0, 0));
        SendDlgItemMessageW(d, CContactsDlg::kRecipientsList, LB_RESETCONTENT, 0, 0);
        Command(d, IDCANCEL);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(bookCount, 0);
    EXPECT_EQ(dialog.FieldText(), "x@example.org");
}

TEST_F(RecipientDialogs, CheckNamesOkWithoutARowStaysOpenThenTakesTheRow) {
    std::vector<Contact> matches = {Person("Anna Meier", "+491701234567", ""), Person("Anna Berg", "", "")};
    CCheckNamesDlg dialog(matches, RecipientMode::Number, nullptr);
    dialog.SetResultText("anna %s %d");
    std::wstring label, firstColumn, secondColumn;
    bool openAfterEmptyOk = false;
    int rows = 0;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        wchar_t text[256] = {};
        GetDlgItemTextW(d, CCheckNamesDlg::kLabel, text, 256);
        label = text;
        HWND list = GetDlgItem(d, CCheckNamesDlg::kMatchList);
        rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
        LVCOLUMNW column{LVCF_TEXT};
        column.pszText = text;
        column.cchTextMax = 256;
        SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));
        firstColumn = text;
        SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        secondColumn = text;
        Command(d, IDOK);
        openAfterEmptyOk = IsWindow(d) && IsWindowVisible(d);
        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageW(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&select));
        Command(d, IDOK);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(openAfterEmptyOk);
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(label, L"Several matches found for \"anna %s %d\".");
    EXPECT_EQ(firstColumn, L"Name");
    EXPECT_EQ(secondColumn, LoadText(IDS_MOBILE_NUMBER));
    EXPECT_EQ(dialog.ResultText(), "Anna Berg");  // empty second column: the name alone
}

TEST_F(RecipientDialogs, CheckNamesDoubleClickTakesNameAndAddressCancelKeepsTheEntry) {
    std::vector<Contact> matches = {Person("Anna Meier", "+491701234567", "anna@example.org"),
                                    Person("Anna Berg", "+4915100", "berg@example.org")};
    CCheckNamesDlg dialog(matches, RecipientMode::EMail, nullptr);
    dialog.SetResultText("anna");
    std::wstring secondColumn;
    const INT_PTR result = Drive(dialog, [&](HWND d) {
        HWND list = GetDlgItem(d, CCheckNamesDlg::kMatchList);
        wchar_t text[64] = {};
        LVCOLUMNW column{LVCF_TEXT};
        column.pszText = text;
        column.cchTextMax = 64;
        SendMessageW(list, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
        secondColumn = text;
        LVITEMW select{};
        select.stateMask = select.state = LVIS_SELECTED;
        SendMessageW(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&select));
        NMITEMACTIVATE click{};
        click.hdr = {list, static_cast<UINT_PTR>(CCheckNamesDlg::kMatchList), static_cast<UINT>(NM_DBLCLK)};
        click.iItem = 0;
        SendMessageW(d, WM_NOTIFY, CCheckNamesDlg::kMatchList, reinterpret_cast<LPARAM>(&click));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(secondColumn, LoadText(IDS_EMAIL_ADDRESS));
    EXPECT_EQ(dialog.ResultText(), "Anna Meier (anna@example.org)");

    CCheckNamesDlg cancelled(matches, RecipientMode::Number, nullptr);
    cancelled.SetResultText("anna");
    EXPECT_EQ(Drive(cancelled, [](HWND d) { Command(d, IDCANCEL); }), IDCANCEL);
    EXPECT_EQ(cancelled.ResultText(), "anna");
}

TEST_F(RecipientDialogs, GermanTemplatesAreUsedInGerman) {
    SetResourceLanguage(1031);
    CContactsDlg dialog(RecipientMode::Number, nullptr, nullptr);
    std::wstring caption;
    Drive(dialog, [&](HWND d) {
        wchar_t text[64] = {};
        GetWindowTextW(d, text, 64);
        caption = text;
        Command(d, IDCANCEL);
    });
    SetResourceLanguage(1033);
    EXPECT_EQ(caption, L"Namen auswählen");
}
