// The current user's registry, kept in the hive file
// ${XDG_CONFIG_HOME:-$HOME/.config}/zuvedit/user.reg (syntax in RegistryHive.h).
//
// Every read looks at the file as it is now. Every change is on disk when the call returns:
// under an exclusive lock on user.reg.lock the hive is read afresh, changed, written to a
// temporary file, synced and renamed over the hive, so two editors never lose each other's
// changes and a crash leaves either the old or the new hive. A hive that cannot be parsed is
// renamed to user.reg.corrupt-<time> and never overwritten; work goes on with an empty hive.
#pragma once

#include "platform/AnsiString.h"
#include "platform/Exception.h"

#include <vector>

class ERegistryException : public Exception {
public:
    using Exception::Exception;
};

class TRegistry {
public:
    // Works on HKEY_CURRENT_USER of the hive that the environment names now; no key open.
    TRegistry();
    virtual ~TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens a key below the open key (below the root with none open, or with a leading
    // backslash); with canCreate, missing keys are created. On success the key becomes the
    // open key; on failure (missing, invalid name, too deep, hive not writable) false is returned
    // and the open key stays.
    bool OpenKey(const AnsiString& key, bool canCreate);
    void CloseKey();

    // Removes a key, taken as OpenKey takes it, with everything below it. Never throws.
    bool DeleteKey(const AnsiString& key);

    // REG_DWORD data; throws ERegistryException when the value is missing or of another type.
    int ReadInteger(const AnsiString& name) const;
    // REG_SZ or REG_EXPAND_SZ text up to its first zero byte; "" when the value is missing or
    // no key is open; throws ERegistryException for a value of another type.
    AnsiString ReadString(const AnsiString& name) const;
    bool ReadBool(const AnsiString& name) const { return ReadInteger(name) != 0; }

    // Each throws ERegistryException when no key is open or the hive cannot be written.
    void WriteInteger(const AnsiString& name, int value);
    void WriteString(const AnsiString& name, const AnsiString& value);
    void WriteBool(const AnsiString& name, bool value) { WriteInteger(name, value ? 1 : 0); }

private:
    using KeyPath = std::vector<AnsiString>;

    // The path that OpenKey and DeleteKey mean by a key name; false for an invalid one.
    bool ResolvePath(const AnsiString& key, KeyPath& path) const;
    void WriteValue(const AnsiString& name, unsigned type, std::string data);

    AnsiString hivePath;
    bool keyOpen = false;
    KeyPath openPath;
};
