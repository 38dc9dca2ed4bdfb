#pragma once
// COM for the current thread for one scope, and interface pointers released
// when they go out of scope.
#include <objbase.h>

#include <memory>

class ComApartment {
public:
    ComApartment() : m_result(CoInitialize(nullptr)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_FALSE (already initialised on this thread) counts as success.
    bool Ready() const { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

struct ComRelease {
    void operator()(IUnknown* object) const { object->Release(); }
};
template <class Interface>
using ComRef = std::unique_ptr<Interface, ComRelease>;
