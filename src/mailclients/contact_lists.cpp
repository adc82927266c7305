#include "mailclients/contact_lists.h"

#include <system_error>
#include <utility>

#include "mailclients/contact_rules.h"

namespace pagelark {

std::shared_ptr<const ContactList> ContactLists::List(int source) const {
    if (!Known(source)) return nullptr;
    std::lock_guard lock(mutex_);
    return lists_[source - 1];
}

bool ContactLists::TryBeginReading(int source) {
    if (!Known(source)) return false;
    bool expected = false;
    return reading_[source - 1].compare_exchange_strong(expected, true);
}

bool ContactLists::IsReading(int source) const { return Known(source) && reading_[source - 1].load(); }

void ContactLists::CancelReading(int source) {
    if (Known(source)) reading_[source - 1].store(false);
}

void ContactLists::Publish(int source, ContactList list) {
    if (!Known(source)) return;
    SortContacts(list);
    Replace(source, std::move(list));
    reading_[source - 1].store(false);
}

void ContactLists::Replace(int source, ContactList list) {
    if (!Known(source)) return;
    auto shared = std::make_shared<const ContactList>(std::move(list));
    std::shared_ptr<const ContactList> previous;
    {
        std::lock_guard lock(mutex_);
        previous = std::exchange(lists_[source - 1], std::move(shared));
    }
    // `previous` is freed here, outside the lock, unless a window still holds it.
}

void ContactLists::Clear() {
    std::array<std::shared_ptr<const ContactList>, 2> previous;
    std::lock_guard lock(mutex_);
    previous.swap(lists_);
}

ContactReaders::ContactReaders(ContactLists& lists, ReadFunction read) : lists_(lists), read_(std::move(read)) {}

ContactReaders::~ContactReaders() { Wait(); }

bool ContactReaders::Start(int source) {
    if (source != kOutlookSource && source != kOutlookExpressSource) return false;
    std::lock_guard lock(startMutex_);
    if (!lists_.TryBeginReading(source)) return false;
    std::thread& slot = threads_[source - 1];
    // The previous reading of this source has handed its list over; only its last instructions remain.
    if (slot.joinable()) slot.join();
    try {
        slot = std::thread([this, source] {
            ContactList list;
            try {
                read_(source, list);
            } catch (...) {
                // What was read before the failure is kept.
            }
            lists_.Publish(source, std::move(list));
        });
    } catch (const std::system_error&) {
        lists_.CancelReading(source);   // no thread to be had: the next reload tries again
        return false;
    }
    return true;
}

void ContactReaders::Wait() {
    std::lock_guard lock(startMutex_);
    for (std::thread& thread : threads_)
        if (thread.joinable()) thread.join();
}

}  // namespace pagelark
