// Registrations of the customize manager's lists and hooks.
//
// TK_CALLBACK: a function and the object it belongs to. A call passes the object first, then the
// arguments of the list or hook; every list and hook has one fixed argument list, and whoever
// registers or calls uses exactly those types. An entry whose object is NULL is skipped.
//
// CTkCallbackList: the entries of one list, called from the first to the last. Adding appends;
// the storage grows by the array's grow-by value, or by count / 8 clamped to 4..1024 when that is
// 0. Removing an object removes every entry of that object, from the last entry to the first, and
// frees the storage when the list becomes empty.
#pragma once

#include <afxwin.h>
#include <afxtempl.h>

typedef void (*TK_CALLBACKFN)();

struct TK_CALLBACK {
    TK_CALLBACKFN pfn;
    void* pObject;

    TK_CALLBACK() : pfn(NULL), pObject(NULL) {}
    template <class R, class... A>
    TK_CALLBACK(R (*pfnCall)(void*, A...), void* pObj) : pfn(reinterpret_cast<TK_CALLBACKFN>(pfnCall)), pObject(pObj)
    {
    }

    BOOL IsEmpty() const { return pfn == NULL || pObject == NULL; }
    BOOL operator==(const TK_CALLBACK& other) const { return pfn == other.pfn && pObject == other.pObject; }

    // Calls the function with the object; R and A must be the registration's own types.
    template <class R = void, class... A> R Call(A... args) const
    {
        return reinterpret_cast<R (*)(void*, A...)>(pfn)(pObject, args...);
    }
};

class CTkCallbackList : public CArray<TK_CALLBACK, const TK_CALLBACK&> {
public:
    CTkCallbackList() {}

    // Appends an entry. With a front entry set (SetFrontEntry) that is missing from the list, it
    // is put back at the front first.
    void Register(const TK_CALLBACK& cb);
    template <class R, class... A> void Register(R (*pfnCall)(void*, A...), void* pObject)
    {
        Register(TK_CALLBACK(pfnCall, pObject));
    }
    // Removes every entry of the object, from the last to the first; an emptied list frees its
    // storage.
    void RemoveObject(void* pObject);
    BOOL Contains(const TK_CALLBACK& cb) const;

    // The entry that must lead the list whenever anybody registers (the customize manager's own).
    void SetFrontEntry(const TK_CALLBACK& cb) { m_front = cb; }

    // Calls every entry with a non-NULL object, first to last.
    template <class... A> void CallAll(A... args) const
    {
        for (int i = 0; i < GetSize(); i++) {
            const TK_CALLBACK& cb = GetData()[i];
            if (cb.pfn != NULL && cb.pObject != NULL)
                cb.Call<void, A...>(args...);
        }
    }

private:
    TK_CALLBACK m_front;
    CTkCallbackList(const CTkCallbackList&) = delete;
    CTkCallbackList& operator=(const CTkCallbackList&) = delete;
};
