#include "mailclients/mapi_writer_win.h"

#include "common/ansi_code_page_win.h"

#include "mailclients/mapi_objects_win.h"
#include "mailclients/mapi_reader_win.h"

namespace pagelark {

int SaveOutlookNumbers(const MapiFunctions& mapi, ContactList& list) {
    MapiProfile profile;
    if (FAILED(OpenMapiProfile(mapi, profile, nullptr))) return 0;

    ULONG defaultSize = 0;
    MapiBuffer<ENTRYID> defaultEntry;
    if (FAILED(profile.addressBook->GetDefaultDir(&defaultSize, defaultEntry.receive())) || !defaultEntry.get())
        return 0;
    const std::string defaultId(reinterpret_cast<const char*>(defaultEntry.get()), defaultSize);
    ULONG type = 0;
    MapiRef<IABContainer> directory;
    if (FAILED(profile.addressBook->OpenEntry(defaultSize, defaultEntry.get(), nullptr, MAPI_BEST_ACCESS, &type,
                                              directory.receiveUnknown())) ||
        !directory || type != MAPI_ABCONT)
        return 0;

    std::string folderId;
    MapiRef<IMAPIFolder> folder;
    if (SUCCEEDED(FindContactsFolderId(profile.addressBook.get(), defaultId, folderId)) && !folderId.empty()) {
        ULONG folderType = 0;
        if (FAILED(profile.store->OpenEntry(SizeOf(folderId), EntryIdOf(folderId), nullptr, MAPI_BEST_ACCESS,
                                            &folderType, folder.receiveUnknown())))
            folder.Reset();
    }

    int written = 0;
    for (Contact& contact : list) {
        if (!contact.changed || contact.entryId.empty()) continue;
        MapiRef<IMAPIProp> entry;
        ULONG entryType = 0;
        const std::string& id = contact.entryId;
        const HRESULT opened =
            folder ? folder->OpenEntry(SizeOf(id), EntryIdOf(id), nullptr, MAPI_BEST_ACCESS, &entryType,
                                       entry.receiveUnknown())
                   : directory->OpenEntry(SizeOf(id), EntryIdOf(id), nullptr, MAPI_BEST_ACCESS, &entryType,
                                          entry.receiveUnknown());
        if (FAILED(opened) || !entry) continue;   // the flag stays: a later save may reach it
        std::string number = AnsiFromUtf8(contact.mobile);
        SPropValue value{};
        value.ulPropTag = PR_MOBILE_TELEPHONE_NUMBER_A;
        value.Value.lpszA = number.data();
        if (FAILED(HrSetOneProp(entry.get(), &value)) || FAILED(entry->SaveChanges(KEEP_OPEN_READWRITE))) continue;
        contact.changed = false;
        ++written;
    }
    return written;
}

}  // namespace pagelark
