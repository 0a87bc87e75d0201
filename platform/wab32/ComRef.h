// One reference to an object of the address-book library, released when the
// holder goes. Depends on the ABI header alone, so the program's session and
// wabtool hold the library's objects alike.
#pragma once

#include <utility>

#include "platform/wab32/WabAbi.h"

template <class T> class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* p) : m_p(p) {}
    ~ComRef() { reset(); }
    ComRef(ComRef&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    ComRef& operator=(ComRef&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.m_p, nullptr));
        }
        return *this;
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }
    // For out-parameters: drops what is held first.
    T** out() {
        reset();
        return &m_p;
    }
    void reset(T* p = nullptr) {
        if (m_p != nullptr) {
            m_p->Release();
        }
        m_p = p;
    }
    // Hands the reference to the caller.
    T* release() { return std::exchange(m_p, nullptr); }

private:
    T* m_p = nullptr;
};
