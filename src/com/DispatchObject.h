// One late-bound COM object: members and named arguments are looked up by name through
// IDispatch at call time. Holds one reference, released when the handle goes.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>
#include <vector>

#include "automation/Object.h"
#include "com/BusyServer.h"
#include "com/ComOwners.h"

namespace com {

class DispatchObject : public automation::Dispatch {
  public:
    DispatchObject(ComPtr<IDispatch> dispatch, ServerCalls server);

    automation::Variant get(const std::string& name) override;
    void put(const std::string& name, const automation::Variant& value) override;
    automation::Variant call(const std::string& name,
                             const std::vector<automation::Variant>& positional,
                             const std::vector<automation::NamedArgument>& named) override;
    automation::Variant defaultValue() override;

    IDispatch* raw() const { return dispatch_.get(); }

  private:
    // The member's id followed by the ids of `argumentNames`, resolved in one call.
    std::vector<DISPID> idsOf(const std::string& member,
                              const std::vector<std::string>& argumentNames) const;
    automation::Variant invoke(const std::string& member, DISPID id, WORD flags,
                               DISPPARAMS& parameters);

    ComPtr<IDispatch> dispatch_;
    ServerCalls server_;
};

}  // namespace com
