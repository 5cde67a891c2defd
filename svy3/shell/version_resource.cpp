#include "svy3/shell/version_resource.h"

namespace ZAR {

const SVersionResource& GetVersionResource() {
    return kVersionResource;
}

const char* GetSoftwareDipText() {
    return kVersionResource.softwareDip;
}

}  // namespace ZAR
