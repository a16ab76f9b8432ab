// COM on this thread for as long as one use of Windows' imaging component
// takes: the host's own apartment where it has one (then only counted up and
// down again), else one made here. A thread already in the multithreaded
// apartment serves as well. Windows only.
#pragma once

#include <objbase.h>

namespace corvelle {

class ComApartment {
public:
    ComApartment() : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool Usable() const { return SUCCEEDED(m_result) || m_result == RPC_E_CHANGED_MODE; }

private:
    HRESULT m_result;
};

}  // namespace corvelle
