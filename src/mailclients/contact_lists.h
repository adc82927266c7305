#pragma once
// The contact list of each address-book source and the reading threads that fill them.
//
// A reading thread builds a complete list on its own, sorts it and hands it over whole; the list
// is then immutable and shared. A window that took the previous list keeps it alive for as long
// as it holds it, so a reload never frees a list in use.
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "model/contact.h"

namespace pagelark {

// Address-book sources: 1 Outlook (Extended MAPI), 2 Outlook Express (Windows Address Book).
inline constexpr int kOutlookSource = 1;
inline constexpr int kOutlookExpressSource = 2;

inline int SourceOf(HostClient host) { return static_cast<int>(host); }

class ContactLists {
public:
    // The current list of a source; none for an unknown source or one not read yet.
    std::shared_ptr<const ContactList> List(int source) const;
    // Marks a source as being read; false when a reading of it already runs.
    bool TryBeginReading(int source);
    bool IsReading(int source) const;
    // Ends a reading that could not start, leaving the current list as it is.
    void CancelReading(int source);
    // Sorts `list`, makes it the source's current list and ends the source's reading.
    void Publish(int source, ContactList list);
    // Makes an already sorted list current without touching the reading flag (numbers written back).
    void Replace(int source, ContactList list);
    // Frees both lists (windows that still hold one keep theirs).
    void Clear();

private:
    static bool Known(int source) { return source == kOutlookSource || source == kOutlookExpressSource; }

    mutable std::mutex mutex_;   // guards the two list pointers; the lists themselves never change
    std::array<std::shared_ptr<const ContactList>, 2> lists_;
    std::array<std::atomic<bool>, 2> reading_{};
};

// One reading thread per source. `read` runs on that thread and fills the list it is given; an
// exception it throws ends the reading with what the list holds by then.
class ContactReaders {
public:
    using ReadFunction = std::function<void(int source, ContactList& list)>;

    ContactReaders(ContactLists& lists, ReadFunction read);
    ~ContactReaders();   // waits for running readings
    ContactReaders(const ContactReaders&) = delete;
    ContactReaders& operator=(const ContactReaders&) = delete;

    // Starts a reading of `source`; false when one runs already (the request is dropped).
    bool Start(int source);
    // Waits until no reading runs.
    void Wait();

private:
    ContactLists& lists_;
    ReadFunction read_;
    std::mutex startMutex_;   // Start and Wait may come from different threads
    std::array<std::thread, 2> threads_;
};

}  // namespace pagelark
