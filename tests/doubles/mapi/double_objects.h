#pragma once
// The MAPI objects the doubles serve: session, message store, address book, containers (address
// book containers, contacts folders and distribution lists), entries and tables. Each counts
// itself as a live object; calls the program never makes answer MAPI_E_NO_SUPPORT.
#include <windows.h>

#include <mapix.h>
#include <mapiutil.h>

#include <map>
#include <string>
#include <vector>

namespace doubles {

// One table row: property values by tag (strings and binaries as bytes, longs, booleans).
struct RowValue {
    enum Kind { String, Binary, Long, Boolean } kind = String;
    std::string bytes;
    LONG number = 0;
};
using RowData = std::map<ULONG, RowValue>;

// The search path rows, the default directory's entry id and objects opened by id, shared by the
// MAPI and WAB flavours of the address book.
IAddrBook* NewAddressBook();
IMAPISession* NewSession();
// A row set laid out as FreeProws frees it: one block for the set, one per row's properties with
// strings chained to it. `columns` null: every property of each row.
SCODE BuildRowSet(const std::vector<RowData>& rows, const SPropTagArray* columns, LPSRowSet* result);
// Applies a property restriction (RES_PROPERTY with RELOP_EQ); other restrictions pass every row.
bool Matches(const RowData& row, const SRestriction* restriction);
// Rows of a table object made by this double; null for a foreign table.
const std::vector<RowData>* RowsOf(IMAPITable* table);

}  // namespace doubles
