// A list of serializable items stored as the value "Count" in the accessor's open key plus
// one subkey per item, named after the list: Name_0, Name_1, ...
#pragma once

#include "platform/TList.h"
#include "registry/BryRegistrySerializable.h"

class BryRegistry;

// The items belong to the list; the derived list's destructor deletes them.
class BryRegistrySerializableList : public TList {
public:
    // Writes "Count" (a failure propagates), then each item into its subkey (an item that
    // fails is left as far as it got), then deletes the item keys beyond the new count.
    void SaveToRegistry(const AnsiString& name, BryRegistry* registry);
    // Replaces the items by those stored under the name; an item that fails to load is
    // dropped. A missing or unreadable "Count" gives an empty list.
    void LoadFromRegistry(const AnsiString& name, BryRegistry* registry);

    int AddItem(BryRegistrySerializable* item) { return Add(item); }
    // Null for an index at or past the end; a negative one throws EListError.
    BryRegistrySerializable* GetItem(int index) const;
    // Appends a new, empty item of the concrete type and returns its index.
    virtual int AddNewItem() = 0;

protected:
    // Deletes every item, from the front; for the derived list's destructor.
    void DeleteItems();

private:
    static int ReadCount(BryRegistry* registry);
};
