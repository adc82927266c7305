#pragma once
// Outlook's contacts through Extended MAPI: the default directory and the other containers of
// the address book's search path, each read from the Outlook contacts folder behind it when
// there is one. Every step is written to Mapi.log.
#include <string>

#include "mailclients/address_book_log_win.h"
#include "mailclients/contact_rules.h"
#include "mailclients/mapi_library_win.h"
#include "mailclients/mapi_objects_win.h"
#include "model/contact.h"

namespace pagelark {

// A logged-on MAPI session with the default store and the address book open.
struct MapiProfile {
    MapiRef<IMAPISession> session;
    MapiRef<IMsgStore> store;
    MapiRef<IAddrBook> addressBook;
};

// Logs on to the default profile and opens the default store and the address book. Writes the
// log lines of each step when `log` is given. Returns the first failure.
HRESULT OpenMapiProfile(const MapiFunctions& mapi, MapiProfile& profile, AddressBookLog* log);

// The PR_CONTAB_FOLDER_ENTRYID of the search-path row for `containerId`: the Outlook contacts
// folder behind an address-book container. Empty when there is none.
HRESULT FindContactsFolderId(IAddrBook* addressBook, const std::string& containerId, std::string& folderId);

class MapiContactReader {
public:
    MapiContactReader(const MapiFunctions& mapi, AddressBookLog& log) : mapi_(mapi), log_(log) {}

    // Empties `list` and fills it from every container of the address book; false when the
    // profile could not be opened. What was read before a failure stays in the list.
    bool ReadSource(ContactList& list);

private:
    struct Where;   // the objects a container's rows are read through
    void ReadContainerGuarded(IAddrBook* addressBook, IMsgStore* store, const std::string& id, ContactList& list);
    void ReadContainer(IAddrBook* addressBook, IMsgStore* store, const std::string& id, ContactList& list);
    HRESULT ReadRows(const Where& where, IMAPITable* table, ContactList& list);
    HRESULT ReadList(const Where& where, const SRow& row, const std::string& name, ContactList& list, bool& added);
    bool ReadEntry(const Where& where, const SRow& row, bool fromFolder, Contact& contact);

    const MapiFunctions& mapi_;
    AddressBookLog& log_;
    UniqueContacts unique_;   // the duplicate rule over the whole source
};

// The seven columns read from every contents table, in this order.
const SPropTagArray* ContactColumns();

}  // namespace pagelark
