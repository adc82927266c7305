// Reading 10,000 contacts and 100 lists of 20 members through the MAPI double and the wab32.dll
// double: time per source, the process's private memory once both lists are loaded, and the
// share of that the lists themselves take. The
// baseline, measured in the same run, is building the same contact list straight in memory.
// Run under Wine from the build folder: address_books_bench.exe
#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "../win/address_book_doubles.h"
#include "mailclients/address_books_win.h"

using namespace pagelark;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kContacts = 10000;
constexpr int kLists = 100;
constexpr int kMembers = 20;

std::string Book() {
    std::string data = "container\tid=AB\tname=Contacts\n";
    char line[256];
    for (int i = 0; i < kContacts; ++i) {
        std::snprintf(line, sizeof line,
                      "entry\tid=C%05d\tin=AB\tkind=person\tdisplay=Contact %05d\tsurname=Name%05d\tmobile=+4917000%05d"
                      "\temail=contact%05d@example.org\n",
                      i, i, (i * 7919) % kContacts, i, i);
        data += line;
    }
    for (int l = 0; l < kLists; ++l) {
        std::snprintf(line, sizeof line, "entry\tid=L%03d\tin=AB\tkind=list\tdisplay=List %03d\tmembers=", l, l);
        data += line;
        for (int m = 0; m < kMembers; ++m) {
            std::snprintf(line, sizeof line, "%sC%05d", m ? "," : "", (l * kMembers + m) % kContacts);
            data += line;
        }
        data += "\n";
    }
    return data;
}

double PrivateMiB() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    // Wine leaves PrivateUsage at 0; the commit charge is the same figure on Windows.
    return (counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage) / (1024.0 * 1024.0);
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

ContactList InMemory() {
    ContactList list;
    for (int i = 0; i < kContacts; ++i) {
        Contact c;
        c.name = "Contact " + std::to_string(i);
        c.surname = "Name" + std::to_string(i);
        c.mobile = "+4917000" + std::to_string(i);
        c.email = "contact" + std::to_string(i) + "@example.org";
        c.entryId = "C" + std::to_string(i);
        list.push_back(std::move(c));
    }
    for (int l = 0; l < kLists; ++l) {
        Contact c;
        c.name = "List " + std::to_string(l);
        for (int m = 0; m < kMembers; ++m) c.members.push_back(list[(l * kMembers + m) % kContacts]);
        list.push_back(std::move(c));
    }
    return list;
}

}  // namespace

int main() {
    testing::AddressBookDoubles doubles;
    const std::string book = Book();
    testing::WriteAll(doubles.mapiData(), book);
    testing::WriteAll(doubles.wabData(), book);

    const double privateBefore = PrivateMiB();
    auto start = Clock::now();
    ContactList baseline = InMemory();
    const double baselineSeconds = Seconds(start);
    const double baselineMiB = PrivateMiB() - privateBefore;
    baseline = ContactList();
    const double privateStart = PrivateMiB();

    AddressBooks outlook;
    start = Clock::now();
    outlook.Init({true, false, false}, doubles.folder());
    outlook.WaitForReadings();
    const double outlookSeconds = Seconds(start);

    AddressBooks express;
    start = Clock::now();
    express.Init({false, true, false}, doubles.folder());
    express.WaitForReadings();
    const double expressSeconds = Seconds(start);
    const double loadedMiB = PrivateMiB();

    // The lists' own share: a second copy of both costs what the first one does. The rest of the
    // growth is the doubles' data and the MAPI sessions, which a real provider keeps as well.
    const double beforeCopies = PrivateMiB();
    const ContactList outlookCopy = *outlook.List(1), expressCopy = *express.List(2);
    const double listsMiB = PrivateMiB() - beforeCopies;

    std::printf("contacts read: Outlook %zu, Outlook Express %zu\n", outlook.List(1)->size(), express.List(2)->size());
    std::printf("baseline (same list built in memory): %.3f s, %.1f MiB\n", baselineSeconds, baselineMiB);
    std::printf("Outlook (MAPI double):      %.3f s  (%.0fx baseline; goal <= 1 s)\n", outlookSeconds,
                outlookSeconds / baselineSeconds);
    std::printf("Outlook Express (WAB double): %.3f s  (%.0fx baseline; goal <= 1 s)\n", expressSeconds,
                expressSeconds / baselineSeconds);
    std::printf("private memory: %.1f MiB at start, %.1f MiB with both lists loaded (+%.1f MiB, %.1fx the baseline "
                "list; goal <= 12 MB private)\n",
                privateStart, loadedMiB, loadedMiB - privateStart, (loadedMiB - privateStart) / baselineMiB);
    std::printf("the two contact lists themselves: %.1f MiB (%zu + %zu entries)\n", listsMiB, outlookCopy.size(),
                expressCopy.size());
    return 0;
}
