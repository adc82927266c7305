#include "double_data.h"

#include <mapitags.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace doubles {
namespace {

std::atomic<long> g_liveObjects{0};
std::atomic<long> g_openBuffers{0};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream stream(text);
    while (std::getline(stream, part, separator)) parts.push_back(part);
    if (!text.empty() && text.back() == separator) parts.emplace_back();
    return parts;
}

struct NamedTag {
    const char* name;
    ULONG tag;
};

constexpr NamedTag kNames[] = {
    {"display", PR_DISPLAY_NAME_A},
    {"company", PR_COMPANY_NAME_A},
    {"surname", PR_SURNAME_A},
    {"email", PR_EMAIL_ADDRESS_A},
    {"mobile", PR_MOBILE_TELEPHONE_NUMBER_A},
    {"class", PR_MESSAGE_CLASS_A},
    {"email1", 0x8083001E},        // PSETID_Address 0x8083 as the double maps it
    {"emaildisplay", 0x8043001E},
    {"original", PR_ORIGINAL_DISPLAY_NAME_A},
};

// Every block starts with this header; AllocateMore blocks hang off their root's chain.
struct BlockHeader {
    BlockHeader* nextMore;
    size_t magic;
};
constexpr size_t kRootMagic = 0x4D41504931ull;
constexpr size_t kMoreMagic = 0x4D41504932ull;

BlockHeader* HeaderOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

}  // namespace

std::string Record::Get(const std::string& key) const {
    for (const auto& [k, v] : fields)
        if (k == key) return v;
    return {};
}

bool Record::Has(const std::string& key) const {
    for (const auto& field : fields)
        if (field.first == key) return true;
    return false;
}

void Record::Set(const std::string& key, const std::string& value) {
    for (auto& [k, v] : fields)
        if (k == key) {
            v = value;
            return;
        }
    fields.emplace_back(key, value);
}

ULONG TagOfName(const std::string& name) {
    for (const NamedTag& named : kNames)
        if (name == named.name) return named.tag;
    if (name.size() > 2 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X'))
        return static_cast<ULONG>(std::strtoul(name.c_str() + 2, nullptr, 16));
    return 0;
}

bool Data::Load(const std::string& path) {
    *this = Data();
    path_ = path;
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        Record record;
        rawLines_.push_back(line);
        if (line.empty() || line[0] == '#') {
            lines_.push_back(record);
            continue;
        }
        const auto fields = Split(line, '\t');
        record.fields.emplace_back("", fields[0]);
        for (size_t i = 1; i < fields.size(); ++i) {
            const size_t eq = fields[i].find('=');
            if (eq == std::string::npos) continue;
            record.fields.emplace_back(fields[i].substr(0, eq), fields[i].substr(eq + 1));
        }
        const std::string& kind = fields[0];
        if (kind == "container") {
            containers.push_back({record.Get("id"), record.Get("name"), record.Get("folder")});
        } else if (kind == "default") {
            defaultDir = record.Get("id");
        } else if (kind == "entry") {
            Entry entry;
            entry.line = lines_.size();
            entry.id = record.Get("id");
            entry.in = record.Get("in");
            entry.isList = record.Get("kind") == "list";
            if (record.Has("members"))
                for (const std::string& member : Split(record.Get("members"), ','))
                    if (!member.empty()) entry.members.push_back(member);
            for (const auto& [key, value] : record.fields)
                if (const ULONG tag = TagOfName(key)) entry.props[tag] = value;
            entries.push_back(std::move(entry));
        } else if (kind == "fault") {
            faults_.emplace_back(record.Get("call"), record.Get("id"));
        } else if (kind == "option") {
            if (record.Get("logon") == "fail") logonFails = true;
            if (record.Has("delay")) queryDelayMs = static_cast<DWORD>(std::atol(record.Get("delay").c_str()));
        }
        lines_.push_back(record);
    }
    if (defaultDir.empty() && !containers.empty()) defaultDir = containers.front().id;
    for (size_t i = 0; i < entries.size(); ++i) byId_.emplace(entries[i].id, i);
    return true;
}

bool Data::Save() const {
    std::vector<Record> lines = lines_;
    for (const Entry& entry : entries) {
        Record& record = lines[entry.line];
        for (const auto& [tag, value] : entry.props) {
            std::string name;
            for (const NamedTag& named : kNames)
                if (named.tag == tag) name = named.name;
            if (name.empty()) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(tag));
                name = hex;
            }
            record.Set(name, value);
        }
    }
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].fields.empty()) {
            file << rawLines_[i] << "\n";
            continue;
        }
        file << lines[i].fields[0].second;
        for (size_t f = 1; f < lines[i].fields.size(); ++f)
            file << '\t' << lines[i].fields[f].first << '=' << lines[i].fields[f].second;
        file << "\n";
    }
    return static_cast<bool>(file);
}

const Entry* Data::Find(const std::string& id) const {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : &entries[found->second];
}

Entry* Data::Find(const std::string& id) {
    const auto found = byId_.find(id);
    return found == byId_.end() ? nullptr : &entries[found->second];
}

const Container* Data::FindContainer(const std::string& id) const {
    for (const Container& container : containers)
        if (container.id == id || (!container.folder.empty() && container.folder == id)) return &container;
    return nullptr;
}

std::vector<const Entry*> Data::EntriesIn(const std::string& containerOrFolderId) const {
    std::vector<const Entry*> found;
    for (const Entry& entry : entries)
        if (entry.in == containerOrFolderId) found.push_back(&entry);
    return found;
}

bool Data::Fails(const std::string& call, const std::string& id) const {
    for (const auto& [faultCall, faultId] : faults_)
        if (faultCall == call && (faultId.empty() || faultId == id)) return true;
    return false;
}

Data& TheData() {
    static Data data;
    return data;
}

std::mutex& DataMutex() {
    static std::mutex mutex;
    return mutex;
}

void ObjectCreated() { ++g_liveObjects; }
void ObjectDestroyed() { --g_liveObjects; }
long LiveObjects() { return g_liveObjects.load(); }
long OpenBuffers() { return g_openBuffers.load(); }

SCODE Allocate(ULONG size, void** block) {
    if (!block) return MAPI_E_INVALID_PARAMETER;
    auto* header = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + size));
    if (!header) return MAPI_E_NOT_ENOUGH_MEMORY;
    header->magic = kRootMagic;
    ++g_openBuffers;
    *block = header + 1;
    return S_OK;
}

SCODE AllocateMore(ULONG size, void* parent, void** block) {
    if (!block || !parent || HeaderOf(parent)->magic != kRootMagic) return MAPI_E_INVALID_PARAMETER;
    auto* header = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + size));
    if (!header) return MAPI_E_NOT_ENOUGH_MEMORY;
    header->magic = kMoreMagic;
    BlockHeader* root = HeaderOf(parent);
    header->nextMore = root->nextMore;
    root->nextMore = header;
    *block = header + 1;
    return S_OK;
}

ULONG Free(void* block) {
    if (!block) return S_OK;
    BlockHeader* root = HeaderOf(block);
    // Freeing a chained block or a block twice is the caller's fault: counted, never followed.
    if (root->magic != kRootMagic) {
        OutputDebugStringA("mapi double: MAPIFreeBuffer on a block that is not a root block\n");
        return S_OK;
    }
    root->magic = 0;
    for (BlockHeader* more = root->nextMore; more;) {
        BlockHeader* next = more->nextMore;
        std::free(more);
        more = next;
    }
    std::free(root);
    --g_openBuffers;
    return S_OK;
}

}  // namespace doubles
