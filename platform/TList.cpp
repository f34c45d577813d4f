#include "platform/TList.h"

#include <string>

int TList::Add(void* item) {
    items.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    CheckIndex(index, Count());
    items.insert(items.begin() + index, item);
}

void TList::Delete(int index) {
    CheckIndex(index, Count() - 1);
    items.erase(items.begin() + index);
}

void* TList::Items(int index) const {
    CheckIndex(index, Count() - 1);
    return items[static_cast<size_t>(index)];
}

void TList::CheckIndex(int index, int last) const {
    if (index < 0 || index > last)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}
