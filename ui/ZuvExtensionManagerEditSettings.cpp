// ZuvExtensionManager::EditSettings lives with the dialog it runs, so that the
// settings library stays free of Qt.
#include "settings/ZuvExtensionManager.h"

#include "ui/TZuvExtensionMaintenanceForm.h"

#include <memory>

bool ZuvExtensionManager::EditSettings() {
    // Made for this one run and deleted before returning.
    const std::unique_ptr<TZuvExtensionMaintenanceForm> form(
        Application->CreateForm<TZuvExtensionMaintenanceForm>());
    form->SetExtensionList(list.get());
    form->SetModalResult(mrNone);
    if (form->ShowModal() != mrOk) {
        return false;
    }
    list = form->GetExtensionList();
    return true;
}
