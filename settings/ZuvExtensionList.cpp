#include "settings/ZuvExtensionList.h"

ZuvExtensionList::~ZuvExtensionList() {
    DeleteItems();
}

ZuvExtensionInfo* ZuvExtensionList::GetInfo(int index) const {
    return static_cast<ZuvExtensionInfo*>(static_cast<BryRegistrySerializable*>(Items(index)));
}

int ZuvExtensionList::IndexOfExtension(const AnsiString& text) const {
    const AnsiString extension = ZuvExtensionInfo::NormalizeExtension(text);
    for (int i = 0; i < Count(); ++i) {
        if (GetInfo(i)->GetExtension() == extension)
            return i;
    }
    return -1;
}

int ZuvExtensionList::IndexOfInfo(const ZuvExtensionInfo* info) const {
    return IndexOfExtension(info->GetExtension());
}

void ZuvExtensionList::AddOrReplace(ZuvExtensionInfo* info) {
    const int old = IndexOfInfo(info);
    if (old >= 0) {
        ZuvExtensionInfo* replaced = GetInfo(old);
        Delete(old);
        if (replaced != info) // the setting itself may be passed again
            delete replaced;
    }
    // std::string compares as unsigned bytes, a prefix first.
    int index = 0;
    while (index < Count() && GetInfo(index)->GetExtension() <= info->GetExtension())
        ++index;
    Insert(index, static_cast<BryRegistrySerializable*>(info));
}

int ZuvExtensionList::AddNewItem() {
    return AddItem(new ZuvExtensionInfo);
}
