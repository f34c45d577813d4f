#include "registry/BryRegistrySerializableList.h"

#include "registry/BryRegistry.h"

namespace {

const char* const kCountName = "Count";

AnsiString ItemKeyName(const AnsiString& name, int index) {
    return name + "_" + std::to_string(index);
}

bool ItemKeyExists(BryRegistry* registry, const AnsiString& name, int index) {
    BryRegistry probe(registry);
    return !probe.GetKeyPath().empty() && probe.OpenKey(ItemKeyName(name, index), false);
}

// A stored "Count" may lie far above the item keys that exist (a hand edit, a broken hive).
// Item keys are written without gaps, so two missing keys in a row end the stored items:
// the walk stops there instead of creating empty keys up to the count.
bool PastStoredItems(BryRegistry* registry, const AnsiString& name, int index, int count) {
    return index + 1 < count && !ItemKeyExists(registry, name, index) &&
           !ItemKeyExists(registry, name, index + 1);
}

} // namespace

int BryRegistrySerializableList::ReadCount(BryRegistry* registry) {
    try {
        return registry->ReadInteger(kCountName);
    } catch (const Exception&) {
        return 0;
    }
}

BryRegistrySerializable* BryRegistrySerializableList::GetItem(int index) const {
    if (index >= Count())
        return nullptr;
    return static_cast<BryRegistrySerializable*>(Items(index));
}

void BryRegistrySerializableList::SaveToRegistry(const AnsiString& name, BryRegistry* registry) {
    const int count = Count();
    const int oldCount = ReadCount(registry);
    registry->WriteInteger(kCountName, count);
    for (int i = 0; i < count; ++i) {
        BryRegistry child(registry, ItemKeyName(name, i));
        try {
            GetItem(i)->SaveToRegistry(&child);
        } catch (const Exception&) {
            // the item's key stays as far as it was written
        }
    }
    for (int i = count; i < oldCount && !PastStoredItems(registry, name, i, oldCount); ++i)
        registry->DeleteKey(ItemKeyName(name, i));
}

void BryRegistrySerializableList::LoadFromRegistry(const AnsiString& name, BryRegistry* registry) {
    const int count = ReadCount(registry);
    DeleteItems();
    for (int i = 0; i < count && !PastStoredItems(registry, name, i, count); ++i) {
        BryRegistry child(registry, ItemKeyName(name, i));
        const int index = AddNewItem();
        BryRegistrySerializable* item = GetItem(index);
        try {
            item->LoadFromRegistry(&child);
        } catch (const Exception&) {
            Delete(index);
            delete item;
        }
    }
}

void BryRegistrySerializableList::DeleteItems() {
    while (Count() > 0) {
        delete GetItem(0);
        Delete(0);
    }
}
