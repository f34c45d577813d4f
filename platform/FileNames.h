// File-name routines on POSIX paths ('/' is the only separator).
#pragma once

#include "platform/AnsiString.h"

// The part after the last '/': "b.txt" for "/a/b.txt".
AnsiString ExtractFileName(const AnsiString& path);

// Everything before the last '/', without it unless it is the root:
// "/a" for "/a/b.txt", "/" for "/b.txt", "" for "b.txt".
AnsiString ExtractFileDir(const AnsiString& path);

// The file name from its last dot on, the dot included; "" without a dot.
AnsiString ExtractFileExt(const AnsiString& path);
