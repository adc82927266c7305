#include "mailclients/mapi_reader_win.h"

#include <exception>
#include <utility>

#include "mailclients/contact_rules.h"

namespace pagelark {
namespace {

// Outlook's contacts folder behind an address-book container (a search-path column).
constexpr ULONG kContactsFolderEntryId = 0x66100102;
// The e-mail display text of a contact item in a contacts folder.
constexpr ULONG kContactEmailDisplay = 0x8043001E;
// The first e-mail address of a contact item: a named property of PSETID_Address.
constexpr LONG kEmail1Id = 0x8083;
const GUID kPsetidAddress = {0x00062004, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

constexpr char kDistListClass[] = "IPM.DistList";
constexpr ULONG kLogonFlags = MAPI_USE_DEFAULT | MAPI_EXTENDED | MAPI_NEW_SESSION;

SizedSPropTagArray(7, kColumns) = {7,
                                   {PR_ENTRYID, PR_DISPLAY_NAME_A, PR_COMPANY_NAME_A, PR_SURNAME_A,
                                    PR_EMAIL_ADDRESS_A, PR_MESSAGE_CLASS_A, PR_OBJECT_TYPE}};

void LogLine(AddressBookLog* log, const char* line) {
    if (log) log->WriteText(line);
}

HRESULT OpenDefaultStore(IMAPISession* session, MapiRef<IMsgStore>& store) {
    MapiRef<IMAPITable> stores;
    HRESULT hr = session->GetMsgStoresTable(0, stores.receive());
    if (FAILED(hr)) return hr;
    SizedSPropTagArray(2, columns) = {2, {PR_ENTRYID, PR_DISPLAY_NAME_A}};
    SPropValue isDefault{};
    isDefault.ulPropTag = PR_DEFAULT_STORE;
    isDefault.Value.b = TRUE;
    SRestriction onlyDefault{};
    onlyDefault.rt = RES_PROPERTY;
    onlyDefault.res.resProperty.relop = RELOP_EQ;
    onlyDefault.res.resProperty.ulPropTag = PR_DEFAULT_STORE;
    onlyDefault.res.resProperty.lpProp = &isDefault;
    RowSet rows;
    hr = HrQueryAllRows(stores.get(), reinterpret_cast<LPSPropTagArray>(&columns), &onlyDefault, nullptr, 0,
                        rows.receive());
    if (FAILED(hr)) return hr;
    if (rows.size() == 0) return MAPI_E_NOT_FOUND;
    const auto id = BinaryColumn(rows[0], PR_ENTRYID);
    if (!id) return MAPI_E_NOT_FOUND;
    return session->OpenMsgStore(0, SizeOf(*id), EntryIdOf(*id), nullptr, MAPI_BEST_ACCESS, store.receive());
}

}  // namespace

const SPropTagArray* ContactColumns() { return reinterpret_cast<const SPropTagArray*>(&kColumns); }

HRESULT OpenMapiProfile(const MapiFunctions& mapi, MapiProfile& profile, AddressBookLog* log) {
    HRESULT hr = mapi.LogonEx(0, nullptr, nullptr, kLogonFlags, profile.session.receive());
    if (FAILED(hr)) {
        LogLine(log, "ERROR: MAPI Logon failed...\n");
        return hr;
    }
    LogLine(log, "MAPI Logon finished successfully...\n");
    hr = OpenDefaultStore(profile.session.get(), profile.store);
    if (FAILED(hr)) return hr;
    LogLine(log, "Default message store opened successfully...\n");
    hr = profile.session->OpenAddressBook(0, nullptr, AB_NO_DIALOG, profile.addressBook.receive());
    if (FAILED(hr)) return hr;
    LogLine(log, "Address book opened successfully...\n");
    return S_OK;
}

HRESULT FindContactsFolderId(IAddrBook* addressBook, const std::string& containerId, std::string& folderId) {
    folderId.clear();
    RowSet path;
    const HRESULT hr = addressBook->GetSearchPath(0, path.receive());
    if (FAILED(hr)) return hr;
    for (ULONG i = 0; i < path.size(); ++i) {
        if (BinaryColumn(path[i], PR_ENTRYID) != containerId) continue;
        if (auto folder = BinaryColumn(path[i], kContactsFolderEntryId)) folderId = std::move(*folder);
        break;
    }
    return S_OK;
}

// The objects a container's rows are read through: entries of a contacts folder open through the
// folder, everything else through the address-book container.
struct MapiContactReader::Where {
    IAddrBook* addressBook;
    IABContainer* container;
    IMAPIFolder* folder;   // null when reading the container itself
};

bool MapiContactReader::ReadSource(ContactList& list) {
    list.clear();
    unique_ = UniqueContacts();
    log_.WriteText(std::string(62, '=') + "\n");
    log_.WriteText("================ Reading Outlook Contacts ====================\n");
    MapiProfile profile;
    HRESULT hr = OpenMapiProfile(mapi_, profile, &log_);
    if (FAILED(hr)) {
        if (profile.session) log_.Write("Error: %d\n", static_cast<int>(hr));
        return false;
    }

    ULONG defaultSize = 0;
    MapiBuffer<ENTRYID> defaultEntry;
    hr = profile.addressBook->GetDefaultDir(&defaultSize, defaultEntry.receive());
    if (FAILED(hr) || !defaultEntry.get()) {
        log_.Write("Error: %d\n", static_cast<int>(hr));
        return false;
    }
    const std::string defaultId(reinterpret_cast<const char*>(defaultEntry.get()), defaultSize);
    log_.WriteText("Default directory opened successfully...\n");
    log_.WriteText("=========== Reading contacts from default address book =======\n");
    ReadContainerGuarded(profile.addressBook.get(), profile.store.get(), defaultId, list);

    RowSet path;
    hr = profile.addressBook->GetSearchPath(0, path.receive());
    if (FAILED(hr)) {
        log_.Write("Error: %d\n", static_cast<int>(hr));
        return true;
    }
    for (ULONG i = 0; i < path.size(); ++i) {
        const auto id = BinaryColumn(path[i], PR_ENTRYID);
        if (!id || SameContainerId(defaultId, *id)) continue;
        log_.WriteText("=========== Reading contacts from alternative address book =======\n");
        ReadContainerGuarded(profile.addressBook.get(), profile.store.get(), *id, list);
    }
    return true;
}

void MapiContactReader::ReadContainerGuarded(IAddrBook* addressBook, IMsgStore* store, const std::string& id,
                                             ContactList& list) {
    // A provider that throws ends this container only; the next one is read all the same.
    try {
        ReadContainer(addressBook, store, id, list);
    } catch (const std::exception& failure) {
        log_.Write("Exception: %s\n", failure.what());
    } catch (...) {
        log_.Write("Unknown exception! Error: %d\n", static_cast<int>(GetLastError()));
    }
}

void MapiContactReader::ReadContainer(IAddrBook* addressBook, IMsgStore* store, const std::string& id,
                                      ContactList& list) {
    ULONG type = 0;
    MapiRef<IABContainer> container;
    HRESULT hr = addressBook->OpenEntry(SizeOf(id), EntryIdOf(id), nullptr, MAPI_BEST_ACCESS, &type,
                                        container.receiveUnknown());
    if (FAILED(hr)) {
        log_.Write("Error: IAddrBook::OpenEntry() returned 0x%X\n", static_cast<unsigned>(hr));
        return;
    }
    if (type != MAPI_ABCONT || !container) return;
    log_.WriteText("Address book container opened successfully\n");

    std::string folderId;
    hr = FindContactsFolderId(addressBook, id, folderId);
    if (FAILED(hr)) {
        log_.Write("Error: IAddrBook::GetSearchPath() returned 0x%X\n", static_cast<unsigned>(hr));
        return;
    }
    MapiRef<IMAPIFolder> folder;
    MapiRef<IMAPITable> table;
    if (!folderId.empty()) {
        log_.Write("Outlook contacts folder found for address book: EntryID=%s\n", HexOf(folderId).c_str());
        ULONG folderType = 0;
        hr = store->OpenEntry(SizeOf(folderId), EntryIdOf(folderId), nullptr, MAPI_BEST_ACCESS, &folderType,
                              folder.receiveUnknown());
        if (FAILED(hr) || !folder) {
            folder.Reset();
            log_.WriteText("Can't open Outlook contacts folder, trying to open MAPI folder...\n");
        } else {
            hr = folder->GetContentsTable(0, table.receive());
            if (FAILED(hr)) {
                log_.Write("Error: IMAPIFolder::GetContentsTable() returned 0x%X\n", static_cast<unsigned>(hr));
                return;
            }
            log_.WriteText("Outlook contacts folder opened successfully\n");
        }
    }
    if (!folder) {
        hr = container->GetContentsTable(0, table.receive());
        if (FAILED(hr)) {
            log_.Write("Error: IMAPIContainer::GetContentsTable() returned 0x%X\n", static_cast<unsigned>(hr));
            return;
        }
        log_.WriteText("MAPI address book opened successfully\n");
    }
    ReadRows(Where{addressBook, container.get(), folder.get()}, table.get(), list);
}

HRESULT MapiContactReader::ReadRows(const Where& where, IMAPITable* table, ContactList& list) {
    HRESULT hr = table->SetColumns(const_cast<LPSPropTagArray>(ContactColumns()), 0);
    if (FAILED(hr)) {
        log_.Write("Error: IMAPITable::SetColumns() returned 0x%X\n", static_cast<unsigned>(hr));
        return hr;
    }
    hr = table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr);
    if (FAILED(hr)) {
        log_.Write("Error: IMAPITable::SeekRow() returned 0x%X\n", static_cast<unsigned>(hr));
        return hr;
    }
    ULONG count = 0;
    hr = table->GetRowCount(0, &count);
    if (FAILED(hr)) {
        log_.Write("Error: IMAPITable::GetRowCount() returned 0x%X\n", static_cast<unsigned>(hr));
        return hr;
    }
    log_.Write("%d rows found...\n", static_cast<int>(count));

    int contacts = 0;
    int lists = 0;
    const bool fromFolder = where.folder != nullptr;
    while (static_cast<ULONG>(contacts + lists) < count) {
        RowSet rows;
        hr = table->QueryRows(1, 0, rows.receive());
        if (FAILED(hr)) {
            log_.Write("Error: IMAPITable::QueryRows() returned 0x%X\n", static_cast<unsigned>(hr));
            return hr;
        }
        if (rows.size() == 0) break;
        const SRow& row = rows[0];
        const std::string name =
            StringColumn(row, PR_DISPLAY_NAME_A).value_or(StringColumn(row, PR_COMPANY_NAME_A).value_or(""));
        const SPropValue* objectType = FindColumn(row, PR_OBJECT_TYPE);
        const bool isList = fromFolder ? StringColumn(row, PR_MESSAGE_CLASS_A) == kDistListClass
                                       : objectType && objectType->Value.l == MAPI_DISTLIST;
        if (isList) {
            log_.Write("=== Reading distribution list %s...\n", name.c_str());
            bool added = false;
            if (FAILED(hr = ReadList(where, row, name, list, added))) log_.Write("Error: 0x%X\n", static_cast<unsigned>(hr));
            if (added) ++lists;
            continue;
        }
        log_.Write("=== Reading contact %s...\n", name.c_str());
        Contact contact;
        if (!ReadEntry(where, row, fromFolder, contact)) continue;
        if ((contact.email.empty() && contact.mobile.empty()) || !unique_.Add(list, std::move(contact))) continue;
        ++contacts;
    }
    log_.Write("Reading finished successfully. Found: %d contacts, %d distribution lists\n", contacts, lists);
    return S_OK;
}

HRESULT MapiContactReader::ReadList(const Where& where, const SRow& row, const std::string& name,
                                    ContactList& list, bool& added) {
    std::optional<std::string> listId;
    if (where.folder) {
        // A list item of a contacts folder is opened as the address book's entry of the same name.
        MapiRef<IMAPITable> entries;
        HRESULT hr = where.container->GetContentsTable(0, entries.receive());
        if (FAILED(hr)) return hr;
        if (FAILED(hr = entries->SetColumns(const_cast<LPSPropTagArray>(ContactColumns()), 0))) return hr;
        while (!listId) {
            RowSet rows;
            if (FAILED(hr = entries->QueryRows(1, 0, rows.receive()))) return hr;
            if (rows.size() == 0) return S_OK;   // not in the address book: passed over
            if (StringColumn(rows[0], PR_DISPLAY_NAME_A) == name) listId = BinaryColumn(rows[0], PR_ENTRYID);
        }
    } else {
        listId = BinaryColumn(row, PR_ENTRYID);
        if (!listId) return S_OK;
    }

    ULONG type = 0;
    MapiRef<IMAPIContainer> distList;
    HRESULT hr = where.addressBook->OpenEntry(SizeOf(*listId), EntryIdOf(*listId), nullptr, MAPI_BEST_ACCESS,
                                              &type, distList.receiveUnknown());
    if (FAILED(hr)) return hr;
    if (!distList) return MAPI_E_NOT_FOUND;
    MapiRef<IMAPITable> members;
    if (FAILED(hr = distList->GetContentsTable(0, members.receive()))) return hr;
    if (FAILED(hr = members->SetColumns(const_cast<LPSPropTagArray>(ContactColumns()), 0))) return hr;
    if (FAILED(hr = members->SeekRow(BOOKMARK_BEGINNING, 0, nullptr))) return hr;
    ULONG count = 0;
    if (FAILED(hr = members->GetRowCount(0, &count))) return hr;
    log_.Write("    %d members found...\n", static_cast<int>(count));

    Contact distribution;
    distribution.name = CutDisplayName(name);
    distribution.entryId = *listId;
    const Where memberWhere{where.addressBook, where.container, nullptr};
    for (ULONG i = 0; i < count; ++i) {
        RowSet rows;
        if (FAILED(hr = members->QueryRows(1, 0, rows.receive()))) break;
        if (rows.size() == 0) break;
        log_.Write("    Reading member %s...\n", StringColumn(rows[0], PR_DISPLAY_NAME_A).value_or("").c_str());
        Contact member;
        if (ReadEntry(memberWhere, rows[0], false, member) && (!member.email.empty() || !member.mobile.empty()))
            distribution.members.push_back(std::move(member));
    }
    // Listed even when none of its members has a number.
    added = unique_.Add(list, std::move(distribution));
    return FAILED(hr) ? hr : S_OK;
}

bool MapiContactReader::ReadEntry(const Where& where, const SRow& row, bool fromFolder, Contact& contact) {
    auto name = StringColumn(row, PR_DISPLAY_NAME_A);
    if (!name) name = StringColumn(row, PR_COMPANY_NAME_A);
    if (!name) return false;
    contact.name = CutDisplayName(*name);
    contact.surname = StringColumn(row, PR_SURNAME_A).value_or("");
    contact.email = StringColumn(row, PR_EMAIL_ADDRESS_A).value_or("");
    contact.entryId = BinaryColumn(row, PR_ENTRYID).value_or("");

    MapiRef<IMAPIProp> entry;
    ULONG type = 0;
    const std::string& id = contact.entryId;
    HRESULT hr = fromFolder ? where.folder->OpenEntry(SizeOf(id), EntryIdOf(id), nullptr, MAPI_BEST_ACCESS, &type,
                                                      entry.receiveUnknown())
                            : where.container->OpenEntry(SizeOf(id), EntryIdOf(id), nullptr, MAPI_BEST_ACCESS,
                                                         &type, entry.receiveUnknown());
    if (SUCCEEDED(hr) && entry) {
        if (auto surname = ReadStringProp(entry.get(), PR_SURNAME_A)) contact.surname = std::move(*surname);
        if (auto mobile = ReadStringProp(entry.get(), PR_MOBILE_TELEPHONE_NUMBER_A)) contact.mobile = std::move(*mobile);
        ULONG emailTag = PR_EMAIL_ADDRESS_A;
        if (fromFolder) {
            MAPINAMEID emailName{const_cast<LPGUID>(&kPsetidAddress), MNID_ID, {kEmail1Id}};
            LPMAPINAMEID names[] = {&emailName};
            MapiBuffer<SPropTagArray> tags;
            emailTag = PROP_TAG(PT_ERROR, 0);
            if (SUCCEEDED(entry->GetIDsFromNames(1, names, 0, tags.receive())) && tags.get() && tags->cValues == 1 &&
                PROP_TYPE(tags->aulPropTag[0]) != PT_ERROR)
                emailTag = CHANGE_PROP_TYPE(tags->aulPropTag[0], PT_STRING8);
        }
        if (PROP_TYPE(emailTag) != PT_ERROR)
            if (auto email = ReadStringProp(entry.get(), emailTag)) contact.email = std::move(*email);
        if (!IsUsableEmail(contact.email)) {
            const ULONG fallback = fromFolder ? kContactEmailDisplay : PR_ORIGINAL_DISPLAY_NAME_A;
            if (auto email = ReadStringProp(entry.get(), fallback)) contact.email = std::move(*email);
        }
    }
    if (!contact.email.empty() && !IsUsableEmail(contact.email)) {
        log_.Write("Wrong e-mail address: %s\n", contact.email.c_str());
        contact.email.clear();
    }
    return true;
}

}  // namespace pagelark
