// The Windows Address Book reader through the wab32.dll double: contents, WAB.log line by line,
// the library's path, write-back, and no leaked object or buffer.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "address_book_doubles.h"
#include "mailclients/address_books_win.h"
#include "mailclients/wab_reader_win.h"

using namespace pagelark;
using pagelark::testing::AddressBookDoubles;
using pagelark::testing::ReadAll;
using pagelark::testing::ReadLog;
using pagelark::testing::WriteAll;

namespace {

const char kWab[] =
    "container\tid=PAB\tname=Main Identity\n"
    "entry\tid=W1\tin=PAB\tkind=person\tdisplay=Anna Meier\tsurname=Meier\tmobile=0170 1234567\temail=anna@example.org\n"
    "entry\tid=W2\tin=PAB\tkind=person\tdisplay=Otto Offline\n"
    "entry\tid=WL\tin=PAB\tkind=list\tdisplay=Club\tmembers=W1,WN,W2\n"
    "entry\tid=WN\tin=PAB\tkind=list\tdisplay=Nested\tmembers=W1\n";

const Contact* Named(const ContactList& list, const std::string& name) {
    for (const Contact& c : list)
        if (c.name == name) return &c;
    return nullptr;
}

class WabReader : public ::testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(AddressBookDoubles::Leaks(L"wab32.dll"), 0); }
    AddressBookDoubles doubles_;
};

}  // namespace

TEST_F(WabReader, ReadsPeopleAndListsAndLogsEveryStep) {
    WriteAll(doubles_.wabData(), kWab);
    ContactList list;
    ReadWindowsAddressBook(doubles_.wabLog(), list);

    ASSERT_EQ(list.size(), 4u);   // no duplicate or empty-number check for this source
    EXPECT_EQ(list[0].name, "Anna Meier");
    EXPECT_EQ(list[0].mobile, "0170 1234567");
    EXPECT_EQ(list[0].email, "anna@example.org");
    EXPECT_EQ(list[0].surname, "Meier");
    EXPECT_EQ(list[0].entryId, "W1");
    EXPECT_NE(Named(list, "Otto Offline"), nullptr);   // kept although it has neither
    const Contact* club = Named(list, "Club");
    ASSERT_NE(club, nullptr);
    ASSERT_EQ(club->members.size(), 2u);   // the nested list is left out
    EXPECT_EQ(club->members[0].name, "Anna Meier");
    EXPECT_EQ(club->members[1].name, "Otto Offline");

    const std::string path = Narrow(pagelark::testing::DoubleFolder() + L"\\wab32.dll");
    const std::string expected = "Path to wab32.dll: " + path +
                                 "\n"
                                 "wab32.dll loaded successfully\n"
                                 "WABOpen entry point found successfully\n"
                                 "Window address book opened successfully\n"
                                 "============== Reading WAB contents =========================\n"
                                 "Object found 'Anna Meier': phone number = 0170 1234567, e-mail = anna@example.org\n"
                                 "Object found 'Otto Offline': \n"
                                 "Object found 'Club': \n"
                                 "Object found 'Nested': \n";
    EXPECT_EQ(ReadLog(doubles_.wabLog()), expected);
}

TEST_F(WabReader, WithoutDllPathTheSystemLibraryIsTriedAndNoPathIsLogged) {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\WAB\\DLLPath");
    ContactList list{Contact{}};
    ReadWindowsAddressBook(doubles_.wabLog(), list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(ReadLog(doubles_.wabLog()), "Error: can't load library WAB32.DLL\n");
}

TEST_F(WabReader, ChangedNumbersAreWrittenAndUnopenableEntriesKeepTheirFlag) {
    WriteAll(doubles_.wabData(), kWab);
    ContactList list;
    ReadWindowsAddressBook(doubles_.wabLog(), list);
    const std::string before = ReadAll(doubles_.wabData());

    WriteWindowsAddressBook(list);   // nothing marked: opened, closed, nothing changed
    EXPECT_EQ(ReadAll(doubles_.wabData()), before);

    list[0].mobile = "+491701234567";
    list[0].changed = true;
    Contact gone;
    gone.name = "Gone";
    gone.entryId = "W-DELETED";
    gone.mobile = "+4930";
    gone.changed = true;
    list.push_back(gone);
    WriteWindowsAddressBook(list);
    EXPECT_NE(ReadAll(doubles_.wabData()).find("display=Anna Meier\tsurname=Meier\tmobile=+491701234567"),
              std::string::npos);
    EXPECT_FALSE(list[0].changed);
    EXPECT_TRUE(list.back().changed);
}

TEST_F(WabReader, OutlookExpressSourceReadsBesideMapiLog) {
    WriteAll(doubles_.wabData(), kWab);
    AddressBooks books;
    // No mail connector is registered here: the Outlook Express side cannot start, so Init says
    // so, but the address books are read all the same.
    EXPECT_FALSE(books.Init({false, true, false}, doubles_.folder()));
    books.WaitForReadings();
    ASSERT_NE(books.List(2), nullptr);
    EXPECT_EQ(books.List(2)->size(), 4u);
    EXPECT_EQ(books.List(2)->front().name, "Club");   // sorted: surname Meier after Club
    EXPECT_TRUE(books.List(1)->empty());               // Outlook not integrated
    EXPECT_NE(ReadLog(doubles_.wabLog()).find("Reading WAB contents"), std::string::npos);
}
