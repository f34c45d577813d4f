// A registry accessor that opens a whole backslash-separated key path in one call and
// remembers it, so that accessors for its subkeys can be made from it.
#pragma once

#include "platform/TRegistry.h"

class BryRegistry : public TRegistry {
public:
    BryRegistry() = default;
    // Opens, from the root, the parent's path followed by "\" and the subkey name (the
    // parent's path alone for an empty name); nothing when the parent has no path.
    BryRegistry(const BryRegistry* parent, const AnsiString& subkeyName);
    // Opens the source's path, if it has one.
    explicit BryRegistry(const BryRegistry* source);

    // Opens each component below the open key, creating missing ones; empty components are
    // skipped. On success the path is kept as given; on failure no key is open.
    bool OpenKeyPath(const AnsiString& path);
    const AnsiString& GetKeyPath() const { return keyPath; }

private:
    AnsiString keyPath;
};
