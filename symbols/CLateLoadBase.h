// Run-time binding of one library, function by function.
//
// A slot is bound at its first use: the plain name, then "_name@N", "nameA" and "_nameA@N"
// (N = the function's argument bytes) are looked up in this order. Slot states: 0 = not yet
// bound, 1 = looked up and not found (never looked up again), 2 = bound. Without a module the
// state stays 0, so a later use tries again; a library whose load failed is not loaded again.
#pragma once

#include <windows.h>

struct LateLoadSlot {
    FARPROC function = nullptr;
    int state = 0;
};

class CLateLoadBase {
public:
    // loadNow: LoadLibraryA(fileName) at once (the load error is recorded on failure).
    CLateLoadBase(const char* fileName, bool loadNow);
    virtual ~CLateLoadBase();
    CLateLoadBase(const CLateLoadBase&) = delete;
    CLateLoadBase& operator=(const CLateLoadBase&) = delete;

    // Binds the slot (see above); true when it is bound.
    bool Bind(LateLoadSlot& slot, const char* name, int argumentBytes);
    // The slot's function as type F, NULL when it cannot be bound.
    template <typename F>
    F Get(LateLoadSlot& slot, const char* name, int argumentBytes)
    {
        return Bind(slot, name, argumentBytes) ? reinterpret_cast<F>(slot.function) : nullptr;
    }

    // Attaches a module that the owner found itself (dbghelp.dll, the controls library).
    void Attach(HMODULE module) { m_module = module; }

    HMODULE m_module = nullptr;
    DWORD m_loadError = 0;
    int m_ownsModule = 1;
    const char* m_fileName = nullptr;

private:
    void Load();
};

// A loader with a fixed table of functions: slot i binds names[i] with bytes[i].
struct LateLoadName {
    const char* name;
    int argumentBytes;
};

template <int Count>
class CLateLoadTable : public CLateLoadBase {
public:
    CLateLoadTable(const char* fileName, bool loadNow, const LateLoadName (&names)[Count])
        : CLateLoadBase(fileName, loadNow), m_names(names)
    {
    }
    template <typename F>
    F Fn(int index)
    {
        return Get<F>(m_slots[index], m_names[index].name, m_names[index].argumentBytes);
    }
    const LateLoadSlot& Slot(int index) const { return m_slots[index]; }

private:
    const LateLoadName (&m_names)[Count];
    LateLoadSlot m_slots[Count];
};
