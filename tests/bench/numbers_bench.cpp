// Name resolution and completion over a large address book (100,000 contacts).
#include "numbers/dialling_codes.h"
#include "numbers/number_normalizer.h"
#include "numbers/recipient_checker.h"
#include "numbers/recipient_prefix_index.h"

#include <benchmark/benchmark.h>

#include <random>

using namespace pagelark;

namespace {

constexpr size_t kContacts = 100000;

std::shared_ptr<const ContactList> BigAddressBook() {
    static const std::shared_ptr<const ContactList> book = [] {
        const char* syllables[] = {"an", "be", "ka", "lo", "mi", "ne", "ri", "so", "tu", "ve", "xa", "zu", "ö", "é"};
        std::mt19937 random(7);
        auto word = [&] {
            std::string text;
            for (int i = 0, n = 2 + static_cast<int>(random() % 3); i < n; ++i) text += syllables[random() % 14];
            text[0] = static_cast<char>(text[0] - 32 * (text[0] >= 'a' && text[0] <= 'z'));
            return text;
        };
        auto contacts = std::make_shared<ContactList>();
        contacts->reserve(kContacts);
        for (size_t i = 0; i < kContacts; ++i) {
            Contact c;
            c.name = word() + " " + word();
            c.surname = word();
            c.mobile = "+49 17" + std::to_string(random() % 10) + " " + std::to_string(1000000 + random() % 9000000);
            c.email = std::to_string(i) + "@example.org";
            if (i % 500 == 0) c.members = {c};
            contacts->push_back(std::move(c));
        }
        return contacts;
    }();
    return book;
}

// What a user types: growing prefixes of names and numbers from the book.
std::vector<std::string> Keystrokes() {
    const auto book = BigAddressBook();
    std::mt19937 random(11);
    std::vector<std::string> typed;
    for (int word = 0; word < 200; ++word) {
        const Contact& c = (*book)[random() % book->size()];
        const std::string& source = word % 4 == 0 ? c.mobile : c.name;
        for (size_t n = 1; n <= std::min<size_t>(source.size(), 8); ++n) typed.push_back(source.substr(0, n));
    }
    return typed;
}

void BM_PrefixIndexBuild(benchmark::State& state) {
    const auto book = BigAddressBook();
    for (auto _ : state) benchmark::DoNotOptimize(RecipientPrefixIndex(book, RecipientMode::Number));
}
BENCHMARK(BM_PrefixIndexBuild)->Unit(benchmark::kMillisecond);

void BM_PrefixIndexKeystroke(benchmark::State& state) {
    const RecipientPrefixIndex index(BigAddressBook(), RecipientMode::Number);
    const std::vector<std::string> typed = Keystrokes();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(index.Find(typed[i++ % typed.size()]));
    state.SetLabel("per keystroke, 100,000 contacts");
}
BENCHMARK(BM_PrefixIndexKeystroke)->Unit(benchmark::kMicrosecond);

void BM_PrefixLinearKeystroke(benchmark::State& state) {
    const auto book = BigAddressBook();
    const std::vector<std::string> typed = Keystrokes();
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FindPrefixMatchLinear(*book, RecipientMode::Number, typed[i++ % typed.size()]));
    state.SetLabel("plain walk, for comparison");
}
BENCHMARK(BM_PrefixLinearKeystroke)->Unit(benchmark::kMicrosecond);

void BM_ResolveEntry(benchmark::State& state) {
    const auto book = BigAddressBook();
    const char* entries[] = {"anbe", "zuxa ka", "lomi", "nobody", "ö"};
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(FindMatches(*book, entries[i++ % 5], RecipientMode::Number));
    state.SetLabel("per typed name, 100,000 contacts");
}
BENCHMARK(BM_ResolveEntry)->Unit(benchmark::kMillisecond);

void BM_NormalizeNumber(benchmark::State& state) {
    const char* numbers[] = {"0171 1234567", "+49 (0)171 1234567", "0043 664 1234567", "+1345 123 4567"};
    size_t i = 0;
    for (auto _ : state) benchmark::DoNotOptimize(NormalizedNumber(numbers[i++ % 4], BuiltInCheckList(), "+49"));
}
BENCHMARK(BM_NormalizeNumber);

}  // namespace
