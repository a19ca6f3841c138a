#include "win32/AccessibleName.h"

// The annotation GUIDs are defined here, in this one unit.
#include <initguid.h>
#include <oleacc.h>

#include "com/ComOwners.h"
#include "com/ComText.h"

namespace {

com::ComPtr<IAccPropServices> PropertyServices() {
    com::ComPtr<IAccPropServices> services;
    CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                     services.out());
    return services;
}

}  // namespace

bool AnnotateAccessibleName(HWND control, const std::string& name) {
    const auto services = PropertyServices();
    return services &&
           SUCCEEDED(services->SetHwndPropStr(control, OBJID_CLIENT, CHILDID_SELF, PROPID_ACC_NAME,
                                              com::Wide(name).c_str()));
}

void ClearAccessibleName(HWND control) {
    MSAAPROPID name = PROPID_ACC_NAME;
    if (const auto services = PropertyServices()) {
        services->ClearHwndProps(control, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    }
}
