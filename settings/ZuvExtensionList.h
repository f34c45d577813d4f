// The extension settings, owned by the list. Built through AddOrReplace it is sorted by
// extension (unsigned bytes) with one entry per extension; loaded from the registry it
// keeps the stored order and any duplicates.
#pragma once

#include "registry/BryRegistrySerializableList.h"
#include "settings/ZuvExtensionInfo.h"

class ZuvExtensionList : public BryRegistrySerializableList {
public:
    ZuvExtensionList() = default;
    ~ZuvExtensionList() override;
    ZuvExtensionList(const ZuvExtensionList&) = delete;
    ZuvExtensionList& operator=(const ZuvExtensionList&) = delete;

    // Throws EListError for an index outside 0 .. Count() - 1.
    ZuvExtensionInfo* GetInfo(int index) const;
    // The first entry for the normalised extension, or -1.
    int IndexOfExtension(const AnsiString& text) const;
    int IndexOfInfo(const ZuvExtensionInfo* info) const;
    // Takes ownership and puts the setting at its sorted place, deleting the first entry
    // for the same extension.
    void AddOrReplace(ZuvExtensionInfo* info);
    int AddNewItem() override;
};
