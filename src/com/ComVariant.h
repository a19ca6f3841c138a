// Conversions between automation::Variant and COM's VARIANT, and the argument block of one
// IDispatch::Invoke, which owns every VARIANT and BSTR it hands out.
#pragma once

#include <windows.h>

#include <deque>
#include <vector>

#include "automation/Variant.h"
#include "com/BusyServer.h"

namespace com {

class ArgumentBlock {
  public:
    ArgumentBlock() = default;
    ~ArgumentBlock();
    ArgumentBlock(const ArgumentBlock&) = delete;
    ArgumentBlock& operator=(const ArgumentBlock&) = delete;

    // Appends in Invoke's order: the caller passes named values first, then positional ones
    // from last to first.
    void append(const automation::Variant& value);
    VARIANT* data() { return arguments_.empty() ? nullptr : arguments_.data(); }
    UINT size() const { return static_cast<UINT>(arguments_.size()); }

  private:
    std::vector<VARIANT> arguments_;
    // The BSTR variables that by-reference texts point at. They stay ours: the callee may
    // replace what a variable holds, and we free whatever it holds after the call.
    std::deque<BSTR> byReference_;
};

// The value that a VARIANT result holds; the objects it carries share `server`.
automation::Variant FromVariant(const VARIANT& value, const ServerCalls& server);

}  // namespace com
