#include "com/ComVariant.h"

#include <memory>

#include "automation/Error.h"
#include "automation/Object.h"
#include "com/ComOwners.h"
#include "com/ComText.h"
#include "com/DispatchObject.h"

namespace com {

using automation::Error;
using automation::Variant;

ArgumentBlock::~ArgumentBlock() {
    for (VARIANT& v : arguments_) VariantClear(&v);  // by-reference entries own nothing
    for (BSTR text : byReference_) SysFreeString(text);
}

void ArgumentBlock::append(const Variant& value) {
    VARIANT v;
    VariantInit(&v);
    switch (value.type()) {
        case Variant::Type::Empty:
            break;
        case Variant::Type::Int32:
            v.vt = VT_I4;
            v.lVal = value.toInt32();
            break;
        case Variant::Type::Boolean:
            v.vt = VT_BOOL;
            v.boolVal = value.rawBoolean();
            break;
        case Variant::Type::Text: {
            const std::wstring wide = Wide(value.toText());
            BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
            if (value.isByRef()) {
                byReference_.push_back(text);
                v.vt = VT_BYREF | VT_BSTR;
                v.pbstrVal = &byReference_.back();
            } else {
                v.vt = VT_BSTR;
                v.bstrVal = text;
            }
            break;
        }
        case Variant::Type::Object: {
            auto* object = dynamic_cast<DispatchObject*>(value.toObject().dispatch().get());
            if (!object)
                throw Error("Only automation objects can be passed to an automation server.");
            v.vt = VT_DISPATCH;
            v.pdispVal = object->raw();
            v.pdispVal->AddRef();
            break;
        }
    }
    arguments_.push_back(v);
}

Variant FromVariant(const VARIANT& value, const ServerCalls& server) {
    const VARIANT* v = &value;
    if (v->vt == (VT_BYREF | VT_VARIANT) && v->pvarVal) v = v->pvarVal;
    switch (v->vt) {
        case VT_EMPTY:
        case VT_NULL:
            return {};
        case VT_BOOL:
            return Variant::boolean(v->boolVal != VARIANT_FALSE);
        case VT_BSTR:
            return Variant::text(Utf8FromBstr(v->bstrVal));
        case VT_DISPATCH:
        case VT_UNKNOWN: {
            ComPtr<IDispatch> dispatch;
            IUnknown* unknown = v->vt == VT_DISPATCH ? v->pdispVal : v->punkVal;
            if (!unknown) return {};
            if (FAILED(unknown->QueryInterface(IID_IDispatch, dispatch.out()))) {
                throw Error("The automation server returned an object without automation.");
            }
            return Variant::object(
                automation::Object(std::make_shared<DispatchObject>(std::move(dispatch), server)));
        }
        default: {
            // Numbers of every width arrive as 32-bit integers where they fit, else as text.
            ScopedVariant converted;
            if (SUCCEEDED(VariantChangeType(converted.get(), const_cast<VARIANT*>(v), 0, VT_I4))) {
                return Variant::int32((*converted).lVal);
            }
            if (SUCCEEDED(
                    VariantChangeType(converted.get(), const_cast<VARIANT*>(v), 0, VT_BSTR))) {
                return Variant::text(Utf8FromBstr((*converted).bstrVal));
            }
            throw Error("The automation server returned a value of a type that is not supported.");
        }
    }
}

}  // namespace com
