// The module's allocator: the process allocator object (at the allocator's start-up priority) and
// the global operators new and delete of the module, which hand every request to it. Linked into
// the database library and into the test programs that link the engine's objects themselves.
#include <new>

#include "StaticInit.h"
#include "clsGlobalInitObject.h"

#include "LibHeap.h"

namespace {

// The library heap exists before the allocator: the library's entry point made it before the
// run time started; a program that links the library's objects itself gets it here.
struct AllocatorStaticInit {
    AllocatorStaticInit() { LibHeapCreate(); }
};

// Objects of one priority in one file are made in the order they are defined.
VL_INIT_ALLOCATOR AllocatorStaticInit s_heap;
VL_INIT_ALLOCATOR clsGlobalInitObject s_allocator;

void* AllocateOrThrow(size_t size)
{
    void* p = clsGlobalInitObject::ModuleAllocate(size);
    if (!p)
        throw std::bad_alloc();
    return p;
}

} // namespace

void* operator new(size_t size) { return AllocateOrThrow(size); }
void* operator new[](size_t size) { return AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return clsGlobalInitObject::ModuleAllocate(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return clsGlobalInitObject::ModuleAllocate(size); }

void operator delete(void* p) noexcept { clsGlobalInitObject::ModuleFree(p); }
void operator delete[](void* p) noexcept { clsGlobalInitObject::ModuleFree(p); }
void operator delete(void* p, size_t) noexcept { clsGlobalInitObject::ModuleFree(p); }
void operator delete[](void* p, size_t) noexcept { clsGlobalInitObject::ModuleFree(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { clsGlobalInitObject::ModuleFree(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { clsGlobalInitObject::ModuleFree(p); }
