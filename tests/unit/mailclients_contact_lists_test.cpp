// The hand-over of freshly read contact lists to the windows. Runs under ThreadSanitizer in the
// sanitize build: a reader publishing while windows read must be free of data races.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "contact_builders.h"
#include "mailclients/contact_lists.h"

using namespace pagelark;
using pagelark::testing::Person;

namespace {

// Lets a test hold a reading open until it says go.
class Gate {
public:
    void Open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void Pass() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return open_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

}  // namespace

TEST(ContactListThreads, UnknownSourcesHaveNoListAndNoReading) {
    ContactLists lists;
    EXPECT_EQ(lists.List(0), nullptr);
    EXPECT_EQ(lists.List(3), nullptr);
    EXPECT_EQ(lists.List(kOutlookSource), nullptr);   // not read yet
    EXPECT_FALSE(lists.TryBeginReading(3));
    ContactReaders readers(lists, [](int, ContactList&) {});
    EXPECT_FALSE(readers.Start(0));
}

TEST(ContactListThreads, ReadingHandsOverASortedList) {
    ContactLists lists;
    ContactReaders readers(lists, [](int source, ContactList& list) {
        list.push_back(Person(source == 1 ? "Zeta" : "Ypsilon", "1"));
        list.push_back(Person("Alpha", "2"));
    });
    ASSERT_TRUE(readers.Start(kOutlookSource));
    ASSERT_TRUE(readers.Start(kOutlookExpressSource));
    readers.Wait();
    ASSERT_EQ(lists.List(kOutlookSource)->size(), 2u);
    EXPECT_EQ(lists.List(kOutlookSource)->front().name, "Alpha");
    EXPECT_EQ(lists.List(kOutlookExpressSource)->back().name, "Ypsilon");
    EXPECT_FALSE(lists.IsReading(kOutlookSource));
}

TEST(ContactListThreads, ReloadWhileReadingIsDropped) {
    ContactLists lists;
    Gate gate;
    std::atomic<int> runs{0};
    ContactReaders readers(lists, [&](int, ContactList& list) {
        ++runs;
        gate.Pass();
        list.push_back(Person("A", "1"));
    });
    ASSERT_TRUE(readers.Start(kOutlookSource));
    EXPECT_FALSE(readers.Start(kOutlookSource));   // still reading: nothing happens
    EXPECT_TRUE(readers.Start(kOutlookExpressSource));   // the other source has its own thread
    gate.Open();
    readers.Wait();
    EXPECT_EQ(runs.load(), 2);
    EXPECT_TRUE(readers.Start(kOutlookSource));   // done: a reload reads again
    readers.Wait();
    EXPECT_EQ(runs.load(), 3);
}

TEST(ContactListThreads, AFailingReaderKeepsWhatItRead) {
    ContactLists lists;
    ContactReaders readers(lists, [](int, ContactList& list) {
        list.push_back(Person("Read before", "1"));
        throw std::runtime_error("provider gone");
    });
    ASSERT_TRUE(readers.Start(kOutlookSource));
    readers.Wait();
    ASSERT_EQ(lists.List(kOutlookSource)->size(), 1u);
    EXPECT_FALSE(lists.IsReading(kOutlookSource));
}

TEST(ContactListThreads, WindowKeepsItsListWhileReloadsReplaceIt) {
    ContactLists lists;
    std::atomic<int> generation{0};
    ContactReaders readers(lists, [&](int, ContactList& list) {
        const int g = ++generation;
        for (int i = 0; i < 200; ++i) list.push_back(Person("Contact " + std::to_string(i), std::to_string(g)));
    });
    ASSERT_TRUE(readers.Start(kOutlookSource));
    readers.Wait();
    const std::shared_ptr<const ContactList> held = lists.List(kOutlookSource);   // a window's list
    ASSERT_EQ(held->size(), 200u);

    // Windows on other threads keep taking and walking the current list while reloads run.
    std::atomic<bool> stop{false};
    std::atomic<long> walked{0};
    std::vector<std::thread> windows;
    for (int w = 0; w < 3; ++w) {
        windows.emplace_back([&] {
            while (!stop) {
                const auto list = lists.List(kOutlookSource);
                for (const Contact& c : *list) walked += static_cast<long>(c.name.size() > 0);
            }
        });
    }
    for (int reload = 0; reload < 20; ++reload) {
        readers.Start(kOutlookSource);
        readers.Start(kOutlookExpressSource);
        readers.Wait();
    }
    stop = true;
    for (std::thread& t : windows) t.join();

    EXPECT_GT(walked.load(), 0);
    // The held list is the first generation, whole and unchanged.
    EXPECT_EQ(held->size(), 200u);
    for (const Contact& c : *held) EXPECT_EQ(c.mobile, "1");
    EXPECT_NE(lists.List(kOutlookSource)->front().mobile, "1");
}

TEST(ContactListThreads, OldListIsFreedOnceNoWindowHoldsIt) {
    ContactLists lists;
    lists.Replace(kOutlookSource, {Person("Old", "1")});
    std::weak_ptr<const ContactList> watched = lists.List(kOutlookSource);
    std::shared_ptr<const ContactList> window = lists.List(kOutlookSource);
    ASSERT_TRUE(lists.TryBeginReading(kOutlookSource));
    lists.Publish(kOutlookSource, {Person("New", "2")});
    EXPECT_FALSE(watched.expired());
    window.reset();
    EXPECT_TRUE(watched.expired());
    lists.Clear();
    EXPECT_EQ(lists.List(kOutlookSource), nullptr);
}
