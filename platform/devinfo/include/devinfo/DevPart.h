#pragma once

#include "devinfo/DevData.h"

#include <string>

// A device part of a family. Data lookups (DevSpec) work on any part,
// including one made with null arguments, which stands for "no part chosen".
class DEVINFO_API DevPart : public DevSpec {
public:
    // Any argument may be null; it is then empty.
    DevPart(const char* family, const char* device, const char* package);
    ~DevPart() override;

    const std::string& family() const { return m_family; }
    const std::string& device() const { return m_device; }
    const std::string& package() const { return m_package; }

private:
    std::string m_family;
    std::string m_device;
    std::string m_package;
};
