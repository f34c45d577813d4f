// Directory lookup behind long-path expansion.
#pragma once

#include "platform/AnsiString.h"

#include <optional>

// The name, as stored in its directory, of the entry that path names (the
// same device and inode, links not followed); nothing when there is no such
// entry. Where several names link to the entry, the one given is preferred.
std::optional<AnsiString> FindFirstName(const AnsiString& path);
