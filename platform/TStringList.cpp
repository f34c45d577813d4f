#include "platform/TStringList.h"

int TStringList::Add(AnsiString line) {
    lines.push_back(std::move(line));
    return Count() - 1;
}

const AnsiString& TStringList::Strings(int index) const {
    CheckIndex(index);
    return lines[static_cast<size_t>(index)];
}

AnsiString& TStringList::Strings(int index) {
    CheckIndex(index);
    return lines[static_cast<size_t>(index)];
}

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}
