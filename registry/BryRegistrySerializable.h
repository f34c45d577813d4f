// An object that writes itself into, and reads itself from, the key an accessor has open.
#pragma once

class BryRegistry;

class BryRegistrySerializable {
public:
    virtual ~BryRegistrySerializable() = default;

    // Both report failure by throwing an Exception (ERegistryException in practice).
    virtual void SaveToRegistry(BryRegistry* registry) = 0;
    virtual void LoadFromRegistry(BryRegistry* registry) = 0;
};
