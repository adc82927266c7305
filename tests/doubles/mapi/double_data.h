#pragma once
// The address book a MAPI or WAB test double serves, read from a data file the test writes.
//
// One record a line, fields separated by tabs, each field key=value:
//   container  id=<entry id> name=<text> [folder=<entry id>]   address-book container in the search
//              path, in order; `folder` is the Outlook contacts folder behind it
//   default    id=<entry id>                                    the default directory (else the first)
//   entry      id=<entry id> in=<container or folder id> kind=person|list [members=<id>,<id>...]
//              and properties by name: display company surname email mobile class email1
//              emaildisplay original, or by tag: 0x3A1C001E=<text>
//   fault      call=<method> [id=<entry id>]                    that call fails (MAPI_E_CALL_FAILED)
//   option     logon=fail | delay=<ms per QueryRows>
// Entry ids are the bytes of their text. Lines starting with '#' are comments.
// SaveChanges rewrites the file with the entry's new properties, so a test reads back what was written.
#include <windows.h>

#include <mapix.h>

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace doubles {

struct Record {
    std::vector<std::pair<std::string, std::string>> fields;   // in file order
    std::string Get(const std::string& key) const;
    bool Has(const std::string& key) const;
    void Set(const std::string& key, const std::string& value);
};

struct Entry {
    size_t line = 0;                    // its record in the file
    std::string id;
    std::string in;
    bool isList = false;
    std::vector<std::string> members;
    std::map<ULONG, std::string> props;   // string properties by PT_STRING8 tag
};

struct Container {
    std::string id;
    std::string name;
    std::string folder;
};

class Data {
public:
    // Reads the file named by the environment variable (or `fallbackPath`); false when missing.
    bool Load(const std::string& path);
    bool Save() const;

    std::vector<Container> containers;
    std::string defaultDir;
    std::vector<Entry> entries;
    bool logonFails = false;
    DWORD queryDelayMs = 0;

    const Entry* Find(const std::string& id) const;
    Entry* Find(const std::string& id);
    const Container* FindContainer(const std::string& id) const;      // by id or folder id
    std::vector<const Entry*> EntriesIn(const std::string& containerOrFolderId) const;
    bool Fails(const std::string& call, const std::string& id = {}) const;

private:
    std::string path_;
    std::vector<Record> lines_;
    std::vector<std::string> rawLines_;   // comments and blank lines kept as they were
    std::vector<std::pair<std::string, std::string>> faults_;
    std::map<std::string, size_t> byId_;   // entry id → position in `entries`
};

// The one data set of the loaded double and the lock every object takes around it.
Data& TheData();
std::mutex& DataMutex();

// Tag for a property name of the data file; 0 for an unknown name.
ULONG TagOfName(const std::string& name);

// Live-object and open-buffer counts; a report is written at unload when either is not zero.
void ObjectCreated();
void ObjectDestroyed();
long LiveObjects();
long OpenBuffers();

// The MAPI allocator: one block per AllocateBuffer, AllocateMore blocks chained to their parent
// and freed with it.
SCODE Allocate(ULONG size, void** block);
SCODE AllocateMore(ULONG size, void* parent, void** block);
ULONG Free(void* block);

}  // namespace doubles
