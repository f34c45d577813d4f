// Loads the extension settings from the registry, looks them up and saves them back. Made
// for one task and deleted right after it, so every task sees the registry as it is now.
#pragma once

#include "settings/ZuvExtensionList.h"

#include <memory>

class BryRegistry;

class ZuvExtensionManager {
public:
    // Loads the stored settings.
    ZuvExtensionManager();
    ~ZuvExtensionManager();
    ZuvExtensionManager(const ZuvExtensionManager&) = delete;
    ZuvExtensionManager& operator=(const ZuvExtensionManager&) = delete;

    // The setting for an extension as ExtractFileExt gives it (".txt", or "" for none), or
    // null; it stays owned by the manager.
    ZuvExtensionInfo* FindByExtension(const AnsiString& extension) const;

    // Registry failures end these silently: a load keeps what it read, a save what it wrote.
    void LoadSettings();
    void SaveSettings();

    // Runs the settings dialog on the list (defined with the dialog, in ui/); true when the
    // user chose OK, and then the list has been replaced.
    bool EditSettings();

private:
    // Opens the application key, creating it when missing.
    static bool OpenSettingsKey(BryRegistry* registry);

    std::unique_ptr<ZuvExtensionList> list;
};
