#include "devinfo/DevPart.h"

DevPart::DevPart(const char* family, const char* device, const char* package)
    : m_family(family ? family : ""), m_device(device ? device : ""), m_package(package ? package : "") {}

DevPart::~DevPart() = default;
