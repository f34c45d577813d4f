// An ordered list of untyped pointers; the list never owns what they point to.
#pragma once

#include "platform/Exception.h"

#include <vector>

// An index outside the list.
class EListError : public Exception {
public:
    using Exception::Exception;
};

class TList {
public:
    virtual ~TList() = default;

    int Count() const { return static_cast<int>(items.size()); }

    // Appends an entry and returns its index.
    int Add(void* item);
    // Puts an entry at an index from 0 to Count(), moving the later ones up.
    void Insert(int index, void* item);
    // Takes the entry at the index out of the list.
    void Delete(int index);
    void Clear() { items.clear(); }

    // Throws EListError for an index outside 0 .. Count() - 1.
    void* Items(int index) const;

private:
    void CheckIndex(int index, int last) const;

    std::vector<void*> items;
};
