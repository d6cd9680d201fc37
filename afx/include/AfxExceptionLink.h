// The TRY/CATCH macros. They are C++ try/catch blocks over exception pointers; in addition, an
// exception caught by CATCH, AND_CATCH or CATCH_ALL is deleted when its END_CATCH block is left,
// unless the block passes it on with THROW_LAST(). Exceptions caught with a plain C++ catch must
// be deleted by the catcher (e->Delete()).
#pragma once

#include "CException.h"

// One per TRY block, on a per-thread stack: holds the caught exception until the block ends.
struct AFX_EXCEPTION_LINK {
    AFX_EXCEPTION_LINK* m_pLinkPrev;
    CException* m_pException;

    AFX_EXCEPTION_LINK();
    ~AFX_EXCEPTION_LINK();
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
};

// Keeps the innermost TRY block from deleting the exception that THROW_LAST passes on.
void AFXAPI AfxThrowLastCleanup();

#define TRY                                                                                     \
    {                                                                                           \
        AFX_EXCEPTION_LINK _afxExceptionLink;                                                   \
        try {

#define CATCH(class, e)                                                                         \
    }                                                                                           \
    catch (class * e)                                                                           \
    {                                                                                           \
        ASSERT(e->IsKindOf(RUNTIME_CLASS(class)));                                              \
        _afxExceptionLink.m_pException = e;

#define AND_CATCH(class, e)                                                                     \
    }                                                                                           \
    catch (class * e)                                                                           \
    {                                                                                           \
        ASSERT(e->IsKindOf(RUNTIME_CLASS(class)));                                              \
        _afxExceptionLink.m_pException = e;

#define END_CATCH                                                                               \
    }                                                                                           \
    }

#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) AND_CATCH(CException, e)
#define END_CATCH_ALL END_CATCH

#define THROW(e) throw e
#define THROW_LAST() (AfxThrowLastCleanup(), throw)

// Deletes a caught exception (for plain C++ catch blocks).
#define DELETE_EXCEPTION(e) do { (e)->Delete(); } while (0)
