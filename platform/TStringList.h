// An ordered list of byte strings: the unit in which text lines travel.
#pragma once

#include "platform/AnsiString.h"
#include "platform/Exception.h"

#include <vector>

class EStringListError : public Exception {
public:
    using Exception::Exception;
};

class TStringList {
public:
    int Count() const { return static_cast<int>(lines.size()); }
    bool IsEmpty() const { return lines.empty(); }

    // Appends a line and returns its index.
    int Add(AnsiString line);
    void Clear() { lines.clear(); }
    void Reserve(int count) { lines.reserve(static_cast<size_t>(count)); }

    // Throws EStringListError for an index outside 0 .. Count() - 1.
    const AnsiString& Strings(int index) const;
    AnsiString& Strings(int index);

    auto begin() const { return lines.begin(); }
    auto end() const { return lines.end(); }

    bool operator==(const TStringList&) const = default;

private:
    void CheckIndex(int index) const;

    std::vector<AnsiString> lines;
};
