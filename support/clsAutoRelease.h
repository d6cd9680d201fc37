// Holds one reference to a COM-style interface for the length of its life: a copy takes a
// reference of its own (AddRef), the destructor gives it back (Release).
#pragma once

template <typename T>
class clsAutoRelease {
public:
    clsAutoRelease() = default;
    clsAutoRelease(const clsAutoRelease& other) : m_ptr(other.m_ptr)
    {
        if (m_ptr)
            m_ptr->AddRef();
    }
    clsAutoRelease& operator=(const clsAutoRelease&) = delete;
    virtual ~clsAutoRelease()
    {
        if (m_ptr)
            m_ptr->Release();
        m_ptr = nullptr;
    }

    T* operator->() const { return m_ptr; }
    operator T*() const { return m_ptr; }

    // The interface pointer; functions that hand out an interface write it here.
    T* m_ptr = nullptr;
};
