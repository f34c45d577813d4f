#include "settings/ZuvExtensionManager.h"

#include "registry/BryRegistry.h"

namespace {

const char* const kApplicationKey = "Software\\BRyApp\\ZuvEditorChan";
const char* const kListName = "Extension";

} // namespace

ZuvExtensionManager::ZuvExtensionManager() : list(std::make_unique<ZuvExtensionList>()) {
    LoadSettings();
}

ZuvExtensionManager::~ZuvExtensionManager() = default;

ZuvExtensionInfo* ZuvExtensionManager::FindByExtension(const AnsiString& extension) const {
    const int index = list->IndexOfExtension(extension);
    return index < 0 ? nullptr : list->GetInfo(index);
}

void ZuvExtensionManager::LoadSettings() {
    list = std::make_unique<ZuvExtensionList>();
    BryRegistry registry;
    if (!OpenSettingsKey(&registry))
        return;
    try {
        list->LoadFromRegistry(kListName, &registry);
    } catch (const Exception&) {
        // the settings read so far stay
    }
}

void ZuvExtensionManager::SaveSettings() {
    BryRegistry registry;
    if (!OpenSettingsKey(&registry))
        return;
    try {
        list->SaveToRegistry(kListName, &registry);
    } catch (const Exception&) {
        // what was written so far stays
    }
}

bool ZuvExtensionManager::OpenSettingsKey(BryRegistry* registry) {
    return registry->OpenKeyPath(kApplicationKey);
}
