// Owners of COM resources, so that no way out of a function leaks one: a reference to an
// interface, a VARIANT, and the strings of an exception report.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <utility>

namespace com {

// Holds one reference to an interface and releases it when it goes.
template <typename Interface>
class ComPtr {
  public:
    ComPtr() = default;
    // Takes over a reference that the caller already holds.
    explicit ComPtr(Interface* adopted) : pointer_(adopted) {}
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For functions that hand a new reference out through a pointer argument.
    void** out() {
        reset();
        return reinterpret_cast<void**>(&pointer_);
    }
    // Hands the reference over to the caller.
    Interface* release() { return std::exchange(pointer_, nullptr); }
    void reset() {
        if (pointer_) std::exchange(pointer_, nullptr)->Release();
    }

  private:
    Interface* pointer_ = nullptr;
};

// A VARIANT that clears itself (freeing the text or reference it holds) when it goes.
class ScopedVariant {
  public:
    ScopedVariant() { VariantInit(&value_); }
    ~ScopedVariant() { VariantClear(&value_); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& operator*() const { return value_; }

  private:
    VARIANT value_;
};

// The exception report that IDispatch::Invoke fills in; its strings are ours to free.
struct ExceptionReport : EXCEPINFO {
    ExceptionReport() : EXCEPINFO{} {}
    ~ExceptionReport() {
        SysFreeString(bstrSource);
        SysFreeString(bstrDescription);
        SysFreeString(bstrHelpFile);
    }
    ExceptionReport(const ExceptionReport&) = delete;
    ExceptionReport& operator=(const ExceptionReport&) = delete;
};

}  // namespace com
