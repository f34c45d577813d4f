#include "registry/BryRegistry.h"

#include <string_view>

BryRegistry::BryRegistry(const BryRegistry* parent, const AnsiString& subkeyName) {
    const AnsiString& parentPath = parent->GetKeyPath();
    if (parentPath.empty())
        return;
    OpenKeyPath(subkeyName.empty() ? parentPath : parentPath + "\\" + subkeyName);
}

BryRegistry::BryRegistry(const BryRegistry* source) {
    if (!source->GetKeyPath().empty())
        OpenKeyPath(source->GetKeyPath());
}

bool BryRegistry::OpenKeyPath(const AnsiString& path) {
    std::string_view rest = path;
    while (!rest.empty()) {
        const std::size_t separator = rest.find('\\');
        const std::string_view component = rest.substr(0, separator);
        rest.remove_prefix(separator == std::string_view::npos ? rest.size() : separator + 1);
        if (component.empty())
            continue;
        if (!OpenKey(AnsiString(component), true)) {
            CloseKey();
            return false;
        }
    }
    keyPath = path;
    return true;
}
