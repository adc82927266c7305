// The Outlook reader through the Extended MAPI double: what reaches the contact list, Mapi.log
// line by line, the search for the MAPI library, write-back, and no leaked MAPI object or buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address_book_doubles.h"
#include "mailclients/address_books_win.h"

using namespace pagelark;
using pagelark::testing::AddressBookDoubles;
using pagelark::testing::ReadAll;
using pagelark::testing::ReadLog;
using pagelark::testing::WriteAll;

namespace {

constexpr AddressBookOptions kOutlookOnly{true, false, false};

// The default directory with an Outlook contacts folder behind it, and a second container.
const char kBook[] =
    "container\tid=AB-MAIN\tname=Contacts\tfolder=FOLDER-1\n"
    "container\tid=AB-OTHER\tname=Team Directory\n"
    "entry\tid=P1\tin=FOLDER-1\tkind=person\tdisplay=Meier, Anna (Mobil)\tsurname=Meier\tmobile=0170 1234567\temail1=anna@example.org\n"
    "entry\tid=P2\tin=FOLDER-1\tkind=person\tdisplay=Xaver Exch\tmobile=+4930111\temail1=/O=ORVANE/CN=XAVER\n"
    "entry\tid=P3\tin=FOLDER-1\tkind=person\tdisplay=Bert Gast\tmobile=+4930222\temail1=bert@example.org\n"
    "entry\tid=P4\tin=FOLDER-1\tkind=person\tdisplay=BERT GAST\tmobile=+4930222\temail1=BERT@EXAMPLE.ORG\n"
    "entry\tid=P5\tin=FOLDER-1\tkind=person\tdisplay=Nobody Reachable\n"
    "entry\tid=L1\tin=FOLDER-1\tkind=list\tdisplay=Team\n"
    "entry\tid=L1AB\tin=AB-MAIN\tkind=list\tdisplay=Team\tmembers=P1,P3,L2\n"
    "entry\tid=L2\tin=AB-MAIN\tkind=list\tdisplay=Inner\tmembers=P3\n"
    "entry\tid=P6\tin=AB-OTHER\tkind=person\tdisplay=Carla Ort\tmobile=+4930333\temail=carla@example.org\n"
    "entry\tid=L3\tin=AB-OTHER\tkind=list\tdisplay=Empty Club\tmembers=P7\n"
    "entry\tid=P7\tin=AB-OTHER\tkind=person\tdisplay=Dora Stumm\n";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

const Contact* Named(const ContactList& list, const std::string& name) {
    for (const Contact& c : list)
        if (c.name == name) return &c;
    return nullptr;
}

class MapiReader : public ::testing::Test {
protected:
    void TearDown() override {
        // Every session, table, entry and row set the reader got back is released and freed.
        EXPECT_EQ(AddressBookDoubles::Leaks(L"mapi_double.dll"), 0);
    }
    std::wstring ProgramDir() const { return doubles_.folder(); }

    AddressBookDoubles doubles_;
};

}  // namespace

TEST_F(MapiReader, ReadsFolderAndSecondContainerAndLogsEveryStep) {
    WriteAll(doubles_.mapiData(), kBook);
    {
        AddressBooks books;
        ASSERT_TRUE(books.Init(kOutlookOnly, ProgramDir()));
        books.WaitForReadings();
        ASSERT_TRUE(books.mapiStarted());
        const auto list = books.List(1);
        ASSERT_NE(list, nullptr);

        std::vector<std::string> names;
        for (const Contact& c : *list) names.push_back(c.name);
        // Sorted by surname, else name; the bracket cut off; equal-but-case once; no unreachable one.
        EXPECT_EQ(names, (std::vector<std::string>{"Bert Gast", "Carla Ort", "Empty Club", "Meier, Anna", "Team",
                                                   "Xaver Exch"}));
        const Contact* anna = Named(*list, "Meier, Anna");
        ASSERT_NE(anna, nullptr);
        EXPECT_EQ(anna->email, "anna@example.org");   // the contact item's first e-mail address
        EXPECT_EQ(anna->mobile, "0170 1234567");
        EXPECT_EQ(anna->entryId, "P1");
        EXPECT_EQ(Named(*list, "Xaver Exch")->email, "");   // a distinguished name is no address
        const Contact* team = Named(*list, "Team");
        ASSERT_EQ(team->members.size(), 2u);   // the nested list has no number of its own
        EXPECT_EQ(team->members[0].name, "Meier, Anna");
        EXPECT_EQ(team->members[1].name, "Bert Gast");
        EXPECT_TRUE(Named(*list, "Empty Club")->members.empty());
        EXPECT_TRUE(books.List(2)->empty());   // Outlook Express not integrated
    }
    const std::vector<std::string> expected = {
        "MAPI initialized successfully...",
        std::string(62, '='),
        "================ Reading Outlook Contacts ====================",
        "MAPI Logon finished successfully...",
        "Default message store opened successfully...",
        "Address book opened successfully...",
        "Default directory opened successfully...",
        "=========== Reading contacts from default address book =======",
        "Address book container opened successfully",
        "Outlook contacts folder found for address book: EntryID=464F4C4445522D31",
        "Outlook contacts folder opened successfully",
        "6 rows found...",
        "=== Reading contact Meier, Anna (Mobil)...",
        "=== Reading contact Xaver Exch...",
        "Wrong e-mail address: /O=ORVANE/CN=XAVER",
        "=== Reading contact Bert Gast...",
        "=== Reading contact BERT GAST...",
        "=== Reading contact Nobody Reachable...",
        "=== Reading distribution list Team...",
        "    3 members found...",
        "    Reading member Meier, Anna (Mobil)...",
        "    Reading member Bert Gast...",
        "    Reading member Inner...",
        "Reading finished successfully. Found: 3 contacts, 1 distribution lists",
        "=========== Reading contacts from alternative address book =======",
        "Address book container opened successfully",
        "MAPI address book opened successfully",
        "3 rows found...",
        "=== Reading contact Carla Ort...",
        "=== Reading distribution list Empty Club...",
        "    1 members found...",
        "    Reading member Dora Stumm...",
        "=== Reading contact Dora Stumm...",
        "Reading finished successfully. Found: 1 contacts, 1 distribution lists",
    };
    EXPECT_EQ(Lines(ReadLog(doubles_.mapiLog())), expected);
}

TEST_F(MapiReader, FailuresEndTheirContainerWithTheirLogLine) {
    WriteAll(doubles_.mapiData(), std::string(kBook) + "fault\tcall=OpenEntry\tid=FOLDER-1\n"
                                                        "fault\tcall=GetContentsTable\tid=AB-OTHER\n");
    AddressBooks books;
    ASSERT_TRUE(books.Init(kOutlookOnly, ProgramDir()));
    books.WaitForReadings();
    const std::string log = ReadLog(doubles_.mapiLog());
    // The folder cannot be opened: the container itself is read instead.
    EXPECT_NE(log.find("Can't open Outlook contacts folder, trying to open MAPI folder...\n"
                       "MAPI address book opened successfully\n"),
              std::string::npos);
    EXPECT_NE(log.find("Error: IMAPIContainer::GetContentsTable() returned 0x80004005\n"), std::string::npos);
    EXPECT_NE(Named(*books.List(1), "Bert Gast"), nullptr);
    EXPECT_EQ(Named(*books.List(1), "Carla Ort"), nullptr);
}

TEST_F(MapiReader, LogonFailureIsLoggedAndLeavesAnEmptyList) {
    WriteAll(doubles_.mapiData(), std::string(kBook) + "option\tlogon=fail\n");
    AddressBooks books;
    ASSERT_TRUE(books.Init(kOutlookOnly, ProgramDir()));
    books.WaitForReadings();
    ASSERT_NE(books.List(1), nullptr);
    EXPECT_TRUE(books.List(1)->empty());
    EXPECT_NE(ReadLog(doubles_.mapiLog()).find("ERROR: MAPI Logon failed...\n"), std::string::npos);
}

TEST_F(MapiReader, AReloadDuringAReadingDoesNothing) {
    WriteAll(doubles_.mapiData(), std::string(kBook) + "option\tdelay=40\n");
    AddressBooks books;
    ASSERT_TRUE(books.Init(kOutlookOnly, ProgramDir()));
    books.ReloadAll(kOutlookOnly);   // the first reading is still running
    books.WaitForReadings();
    const std::string log = ReadLog(doubles_.mapiLog());
    size_t readings = 0;
    for (size_t at = log.find("Reading Outlook Contacts"); at != std::string::npos;
         at = log.find("Reading Outlook Contacts", at + 1))
        ++readings;
    EXPECT_EQ(readings, 1u);
    books.ReloadAll(kOutlookOnly);   // done: now it reads again
    books.WaitForReadings();
    EXPECT_NE(ReadLog(doubles_.mapiLog()).rfind("Reading Outlook Contacts"), log.rfind("Reading Outlook Contacts"));
}

TEST_F(MapiReader, ChangedNumbersAreWrittenOnlyWhenSavingIsOn) {
    WriteAll(doubles_.mapiData(), kBook);
    AddressBooks books;
    ASSERT_TRUE(books.Init(kOutlookOnly, ProgramDir()));
    books.WaitForReadings();
    ContactList changed = *books.List(1);
    for (Contact& c : changed)
        if (c.name == "Meier, Anna") {
            c.mobile = "+491701234567";
            c.changed = true;
            c.members.clear();
        }

    books.SaveChanged(1, changed);   // SaveChangedNumbers off
    EXPECT_EQ(ReadAll(doubles_.mapiData()).find("+491701234567"), std::string::npos);
    EXPECT_EQ(Named(*books.List(1), "Meier, Anna")->mobile, "0170 1234567");

    books.ReloadAll({true, false, true});
    books.WaitForReadings();
    books.SaveChanged(1, changed);
    EXPECT_NE(ReadAll(doubles_.mapiData()).find("display=Meier, Anna (Mobil)\tsurname=Meier\tmobile=+491701234567"),
              std::string::npos);
    const Contact* anna = Named(*books.List(1), "Meier, Anna");
    EXPECT_EQ(anna->mobile, "+491701234567");
    EXPECT_FALSE(anna->changed);   // the shared list never carries a pending change
}

TEST_F(MapiReader, WithoutDllPathExTheProgramIsRegisteredForTheSystemStub) {
    const wchar_t kApps[] = L"SOFTWARE\\Microsoft\\Windows Messaging Subsystem\\MSMapiApps";
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook", L"DLLPathEx");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApps, L"win_tests.exe");
    HKEY apps = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApps, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &apps, nullptr);
    RegCloseKey(apps);
    {
        MapiLibrary library;
        library.Find(L"win_tests.exe");
        EXPECT_EQ(library.loadedPath(), L"MAPI32.dll");
    }
    wchar_t value[64] = {};
    DWORD size = sizeof(value);
    ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, kApps, L"win_tests.exe", RRF_RT_REG_SZ, nullptr, value, &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(value, L"Microsoft Outlook");

    // A value that is there already is left alone.
    pagelark::testing::SetMachineText(kApps, L"win_tests.exe", L"Another Client");
    {
        MapiLibrary library;
        library.Find(L"win_tests.exe");
    }
    size = sizeof(value);
    RegGetValueW(HKEY_LOCAL_MACHINE, kApps, L"win_tests.exe", RRF_RT_REG_SZ, nullptr, value, &size);
    EXPECT_STREQ(value, L"Another Client");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kApps, L"win_tests.exe");
}

TEST_F(MapiReader, ALibraryThatDoesNotLoadOrLacksAFunctionIsReported) {
    pagelark::testing::SetMachineText(L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook", L"DLLPathEx",
                                      L"C:\\nowhere\\missing_mapi.dll");
    MapiLibrary missing;
    EXPECT_EQ(missing.Find(L"win_tests.exe"), 1114);
    pagelark::testing::SetMachineText(L"SOFTWARE\\Clients\\Mail\\Microsoft Outlook", L"DLLPathEx",
                                      L"kernel32.dll");
    MapiLibrary incomplete;
    EXPECT_EQ(incomplete.Find(L"win_tests.exe"), 1);
    EXPECT_EQ(FileNameOf(L"C:\\Program Files\\Pagelark\\Pagelark.exe"), L"Pagelark.exe");
    EXPECT_EQ(FileNameOf(L"D:Pagelark.exe"), L"Pagelark.exe");
}
