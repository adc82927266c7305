#pragma once
// The print jobs running on one thread, each with its own Cancel. A job waits in the spooler's
// abort callback, which pumps messages, so a second print started from another window runs
// inside the first: each callback must find its own job by its printer device.
#include <utility>
#include <vector>

namespace pagelark {

struct PrintJobState {
    bool cancelled = false;
};

class PrintJobs {
public:
    void Add(const void* device, PrintJobState* job) { jobs_.emplace_back(device, job); }
    void Remove(const void* device) {
        for (auto it = jobs_.begin(); it != jobs_.end(); ++it) {
            if (it->first == device) {
                jobs_.erase(it);
                return;
            }
        }
    }
    // The job printing on `device`, or null.
    PrintJobState* Find(const void* device) const {
        for (const auto& [key, job] : jobs_)
            if (key == device) return job;
        return nullptr;
    }
    bool Empty() const { return jobs_.empty(); }

private:
    std::vector<std::pair<const void*, PrintJobState*>> jobs_;
};

}  // namespace pagelark
