// Figures of Outlook automation through the Outlook double (out of process, as Outlook is):
//   baseline: one empty operation (connect, logon, logoff, release);
//   the sent copy (its two steps), the folder tree of 200 folders, and the COM objects the double
//   still holds after each operation (must be 0) with the most it held at once.
// Needs the double in the prefix (scripts/prefix.d/outlook-double.sh). Usage: outlook_items_winbench [runs]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "../win/outlook_double_client.h"
#include "mailclients/outlook_items_win.h"
#include "mailclients/outlook_session_win.h"

namespace {

using Clock = std::chrono::steady_clock;
using pagelark::testing::OutlookDouble;

double MedianMs(int runs, const std::function<void()>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = Clock::now();
        operation();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

void Report(const char* name, double ms, double baseline) {
    OutlookDouble::NoObjectsAlive();
    std::printf("%-34s %9.1f ms  %6.1f x baseline   objects alive after: %lu, peak: %lu\n", name, ms, ms / baseline,
                OutlookDouble::Counter(L"LiveObjects"), OutlookDouble::Counter(L"PeakObjects"));
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!OutlookDouble::Available() || !OutlookDouble::Prepare(12, L"outlook_double_bench.json")) {
        std::printf("the Outlook double is not in the prefix\n");
        return 1;
    }
    OutlookDouble::Run(L"calllog none");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    pagelark::Settings settings;
    settings.IntegrateOutlook = 1;
    settings.UserName = "Bench";
    settings.UserLandCode = "+49";
    settings.UserMobile = "1700000000";
    pagelark::OutlookItems items(settings, [](const std::string& line) { std::printf("log: %s", line.c_str()); },
                                 [](unsigned, const std::string& detail) { std::printf("failure: %s\n", detail.c_str()); });
    { pagelark::OutlookSession warmUp; }   // starts the double's process once

    const double baseline = MedianMs(runs, [] { pagelark::OutlookSession session; });
    std::printf("Outlook automation through the double, median of %d runs\n", runs);
    Report("baseline: connect, logon, logoff", baseline, baseline);

    pagelark::MessageRecord record;
    record.To = "+491711111111";
    record.Subject = "SMS-Message";
    record.Body = "Bench message";
    Report("sent copy (two steps)", MedianMs(runs, [&] { items.Create(record, pagelark::FolderKind::SentItems, nullptr); }),
           baseline);
    Report("draft (one step)", MedianMs(runs, [&] { items.Create(record, pagelark::FolderKind::Drafts, nullptr); }), baseline);

    OutlookDouble::Run(L"seed-folders \"Personal Folders/Projects\" 181 6");   // 200 folders with the defaults
    std::vector<pagelark::MailFolder> tree;
    Report("folder tree, 200 folders", MedianMs(runs, [&] { items.FolderTree(tree); }), baseline);
    size_t count = 0;
    std::function<void(const std::vector<pagelark::MailFolder>&)> countNodes = [&](const auto& nodes) {
        for (const auto& node : nodes) {
            ++count;
            countNodes(node.children);
        }
    };
    countNodes(tree);
    std::printf("folders in the tree: %zu\n", count);
    OutlookDouble::Unregister();
    CoUninitialize();
    return 0;
}
