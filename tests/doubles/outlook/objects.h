#pragma once
// The double's object model: Application, NameSpace, Folders, MAPIFolder, Items, items with their
// FormDescription, PropertyAccessor and MAPIOBJECT. Each factory hands over one reference.
#include <windows.h>

#include <memory>
#include <string>

#include "store.h"

namespace outlook_double {

// An item as one automation object sees it: the working copy and where it is (or will be) stored.
struct ItemState {
    ItemData data;
    std::string folderId;   // the folder it is stored in, or will be saved into
    bool stored = false;    // false until the first Save
};

IDispatch* NewApplication();
IDispatch* NewFolders(const std::string& parentId);   // empty: the namespace's stores
IDispatch* NewFolder(const std::string& entryId);
IDispatch* NewItems(const std::string& folderId);
IDispatch* NewItem(std::shared_ptr<ItemState> state);
IDispatch* NewFormDescription(std::shared_ptr<ItemState> state);
IDispatch* NewPropertyAccessor(std::shared_ptr<ItemState> state);
IUnknown* NewMapiProp(std::shared_ptr<ItemState> state);

// Major version the double plays: from HKCR\Outlook.Application\CurVer, 11 when unset.
int PlayedVersion();
// Writes the item's working copy into the store (inserting it on its first save).
bool SaveItem(ItemState& state);
// The EntryID of an automation folder object, read through its dispatch interface.
std::string FolderIdOf(IDispatch* folder);

}  // namespace outlook_double
