#pragma once
// One open Windows Address Book, used for one reading or one write-back, and the writer of WAB.log.
#include <windows.h>

#include <wabdefs.h>
#include <wabcode.h>
#include <wabtags.h>
#include <wabiab.h>
#include <wabapi.h>

#include <optional>
#include <string>

#include "mailclients/address_book_log_win.h"
#include "model/contact.h"

namespace pagelark {

class WabConnection {
public:
    // `fileName` empty: the current user's default address book. `logPath` empty: no log.
    WabConnection(const std::string& fileName, const std::wstring& logPath);
    ~WabConnection();
    WabConnection(const WabConnection&) = delete;
    WabConnection& operator=(const WabConnection&) = delete;

    bool isOpen() const { return open_; }
    void ReadContents(ContactList& list);
    void WriteChanged(ContactList& list);

private:
    // Reads the display name, mobile, e-mail, surname and entry identifier of a mail-user row.
    Contact ReadMailUser(const SRow& row, bool logFields);
    // One PT_STRING8 property of an entry, through the cached property array.
    std::optional<std::string> ReadString(const std::string& entryId, ULONG tag);
    // A distribution list row: its MAPI_MAILUSER members; false when the list cannot be read.
    bool ReadList(const SRow& row, ContactList& list);
    void FreeRows(LPSRowSet rows);
    void FreeCache();

    AddressBookLog log_;
    HMODULE library_ = nullptr;
    LPWABOPEN wabOpen_ = nullptr;
    bool open_ = false;
    LPADRBOOK addressBook_ = nullptr;
    LPWABOBJECT wabObject_ = nullptr;
    ULONG cachedCount_ = 0;
    LPSPropValue cachedProps_ = nullptr;
};

}  // namespace pagelark
