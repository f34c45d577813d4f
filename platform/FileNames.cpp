#include "platform/FileNames.h"

AnsiString ExtractFileName(const AnsiString& path) {
    const auto slash = path.rfind('/');
    return slash == AnsiString::npos ? path : path.substr(slash + 1);
}

AnsiString ExtractFileDir(const AnsiString& path) {
    const auto slash = path.rfind('/');
    if (slash == AnsiString::npos)
        return {};
    if (slash == 0 || path[slash - 1] == '/')
        return path.substr(0, slash + 1); // a root, or an empty last component, keeps its slash
    return path.substr(0, slash);
}

AnsiString ExtractFileExt(const AnsiString& path) {
    const AnsiString name = ExtractFileName(path);
    const auto dot = name.rfind('.');
    return dot == AnsiString::npos ? AnsiString() : name.substr(dot);
}
