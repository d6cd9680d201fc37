// Exceptions: the TRY/CATCH macros and who deletes what, error texts, the message-box hook,
// error-code mappings and the OLE exceptions.
#include <afxdisp.h>
#include <gtest/gtest.h>

#include <errno.h>

#include "AfxTestResource.h"
#include "MessageBoxProbe.h"

namespace {

// Counts how many of its objects have been destroyed.
class CCountedException : public CException {
    DECLARE_DYNAMIC(CCountedException)
public:
    static int s_nDestroyed;
    ~CCountedException() override { ++s_nDestroyed; }
};
IMPLEMENT_DYNAMIC(CCountedException, CException)
int CCountedException::s_nDestroyed = 0;

class COtherException : public CException {
    DECLARE_DYNAMIC(COtherException)
};
IMPLEMENT_DYNAMIC(COtherException, CException)

CString ErrorMessage(CException& e)
{
    char buffer[512] = "x";
    UINT nHelp = 99;
    BOOL bHasText = e.GetErrorMessage(buffer, sizeof buffer, &nHelp);
    EXPECT_EQ(0u, nHelp);
    return bHasText ? CString(buffer) : CString("<none>");
}

} // namespace

TEST(ExceptionMacros, CaughtExceptionIsDeletedAtEndCatch)
{
    CCountedException::s_nDestroyed = 0;
    bool bCaught = false;
    TRY
    {
        THROW(new CCountedException);
    }
    CATCH(CCountedException, e)
    {
        bCaught = true;
        EXPECT_EQ(0, CCountedException::s_nDestroyed);
    }
    END_CATCH
    EXPECT_TRUE(bCaught);
    EXPECT_EQ(1, CCountedException::s_nDestroyed);
}

TEST(ExceptionMacros, ThrowLastPassesTheExceptionOnUndeleted)
{
    CCountedException::s_nDestroyed = 0;
    CException* pInner = NULL;
    CException* pOuter = NULL;
    TRY
    {
        TRY
        {
            THROW(new CCountedException);
        }
        CATCH_ALL(e)
        {
            pInner = e;
            THROW_LAST();
        }
        END_CATCH_ALL
    }
    CATCH(CCountedException, e)
    {
        pOuter = e;
        EXPECT_EQ(0, CCountedException::s_nDestroyed);
    }
    END_CATCH
    EXPECT_EQ(pInner, pOuter);
    EXPECT_EQ(1, CCountedException::s_nDestroyed);
}

TEST(ExceptionMacros, AndCatchSelectsTheMatchingHandler)
{
    int nHandler = 0;
    TRY
    {
        THROW(new COtherException);
    }
    CATCH(CCountedException, e)
    {
        nHandler = 1;
    }
    AND_CATCH(COtherException, e)
    {
        nHandler = 2;
    }
    AND_CATCH_ALL(e)
    {
        nHandler = 3;
    }
    END_CATCH_ALL
    EXPECT_EQ(2, nHandler);
}

TEST(ExceptionMacros, LibraryExceptionsAreStaticAndSurviveDelete)
{
    CException* pFirst = NULL;
    CException* pSecond = NULL;
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        pFirst = e;
        e->Delete();
    }
    try {
        AfxThrowMemoryException();
    } catch (CMemoryException* e) {
        pSecond = e;
        e->Delete();
    }
    ASSERT_NE(nullptr, pFirst);
    EXPECT_EQ(pFirst, pSecond);
    EXPECT_TRUE(pFirst->IsKindOf(RUNTIME_CLASS(CSimpleException)));
    EXPECT_STREQ("Nicht genügend Arbeitsspeicher.", ErrorMessage(*pFirst));
}

TEST(ExceptionText, ErrorMessages)
{
    CFileException fileNotFound(CFileException::fileNotFound, ERROR_FILE_NOT_FOUND, "C:\\Daten\\termine.dbf");
    CFileException unnamed(CFileException::diskFull);
    CFileException unknownCause(77, -1, "x.dat");
    CArchiveException badSchema(CArchiveException::badSchema, "bild.ox");
    CNotSupportedException notSupported;
    CException plain;
    const struct {
        const char* name;
        CException* pException;
        const char* text;
    } cases[] = {
        {"file not found", &fileNotFound, "C:\\Daten\\termine.dbf wurde nicht gefunden."},
        {"disk full without name", &unnamed, "Beim Schreiben von (unbenannt) ist der Datenträger voll."},
        {"unknown cause", &unknownCause, "Beim Zugriff auf x.dat ist ein unerwarteter Fehler aufgetreten."},
        {"archive schema", &badSchema, "bild.ox enthält eine falsche Schemaversion."},
        {"not supported", &notSupported, "Der Vorgang wird nicht unterstützt."},
        {"base class", &plain, "<none>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.text, ErrorMessage(*c.pException));
    }

    // The text is cut to the buffer.
    char small[8];
    fileNotFound.GetErrorMessage(small, sizeof small);
    EXPECT_STREQ("C:\\Date", small);
}

TEST(ExceptionReport, ReportErrorGoesThroughTheMessageBoxHook)
{
    afxtest::MessageBoxProbe probe(IDYES);
    CFileException e(CFileException::accessDenied, ERROR_ACCESS_DENIED, "a.dbf");
    EXPECT_EQ(IDYES, e.ReportError(MB_YESNO | MB_ICONSTOP));
    EXPECT_EQ(1, probe.m_nCalls);
    EXPECT_EQ("Der Zugriff auf a.dbf wurde verweigert.", probe.m_lastText);
    EXPECT_EQ((UINT)(MB_YESNO | MB_ICONSTOP), probe.m_lastType);

    CException plain;
    probe.m_nAnswer = IDOK;
    EXPECT_EQ(IDOK, plain.ReportError(MB_OK, IDS_TEST_MESSAGE));
    EXPECT_EQ("Meldung aus der Ressource", probe.m_lastText);
    plain.ReportError();
    EXPECT_EQ("Keine Fehlermeldung verfügbar.", probe.m_lastText);
    EXPECT_EQ(3, probe.m_nCalls);
}

TEST(FileExceptionCause, FromWin32ErrorsAndErrno)
{
    const struct {
        LONG lOsError;
        int cause;
    } osErrors[] = {
        {NO_ERROR, CFileException::none},
        {ERROR_FILE_NOT_FOUND, CFileException::fileNotFound},
        {ERROR_PATH_NOT_FOUND, CFileException::badPath},
        {ERROR_TOO_MANY_OPEN_FILES, CFileException::tooManyOpenFiles},
        {ERROR_ACCESS_DENIED, CFileException::accessDenied},
        {ERROR_INVALID_HANDLE, CFileException::fileNotFound},
        {ERROR_SHARING_VIOLATION, CFileException::sharingViolation},
        {ERROR_LOCK_VIOLATION, CFileException::lockViolation},
        {ERROR_DISK_FULL, CFileException::diskFull},
        {ERROR_HANDLE_EOF, CFileException::endOfFile},
        {ERROR_NEGATIVE_SEEK, CFileException::badSeek},
        {ERROR_DIR_NOT_EMPTY, CFileException::removeCurrentDir},
        {12345, CFileException::generic},
    };
    for (const auto& c : osErrors) {
        SCOPED_TRACE(c.lOsError);
        EXPECT_EQ(c.cause, CFileException::OsErrorToException(c.lOsError));
    }
    const struct {
        int nErrno;
        int cause;
    } errnos[] = {
        {ENOENT, CFileException::fileNotFound}, {EACCES, CFileException::accessDenied},
        {ENOSPC, CFileException::diskFull},     {EMFILE, CFileException::tooManyOpenFiles},
        {EBADF, CFileException::invalidFile},   {9999, CFileException::generic},
    };
    for (const auto& c : errnos) {
        SCOPED_TRACE(c.nErrno);
        EXPECT_EQ(c.cause, CFileException::ErrnoToException(c.nErrno));
    }
}

TEST(FileExceptionCause, ThrowOsError)
{
    EXPECT_NO_THROW(CFileException::ThrowOsError(0, "a"));
    CFileException* pCaught = NULL;
    try {
        CFileException::ThrowOsError(ERROR_ACCESS_DENIED, "gesperrt.dbf");
    } catch (CFileException* e) {
        pCaught = e;
    }
    ASSERT_NE(nullptr, pCaught);
    EXPECT_EQ(CFileException::accessDenied, pCaught->m_cause);
    EXPECT_EQ(ERROR_ACCESS_DENIED, pCaught->m_lOsError);
    EXPECT_STREQ("gesperrt.dbf", pCaught->m_strFileName);
    pCaught->Delete();
}

#ifndef _DEBUG
TEST(Diagnostics, ReleaseBuildEvaluatesOnlyVerify)
{
    int n = 0;
    VERIFY(++n == 1);
    ASSERT(++n == 100);
    EXPECT_EQ(1, n);
    int* p = DEBUG_NEW int(5);
    EXPECT_EQ(5, *p);
    delete p;
    TRACE("%s %d\n", "Spur", 1);
}
#endif

TEST(OleExceptions, ProcessGivesTheStatusCode)
{
    COleException ole;
    ole.m_sc = E_FAIL;
    COleDispatchException dispatch("Fehler", 0, 1);
    CFileException file;
    CMemoryException memory;
    EXPECT_EQ(E_FAIL, COleException::Process(&ole));
    EXPECT_EQ(DISP_E_EXCEPTION, COleException::Process(&dispatch));
    EXPECT_EQ(E_OUTOFMEMORY, COleException::Process(&memory));
    EXPECT_EQ(E_UNEXPECTED, COleException::Process(&file));
}

TEST(OleExceptions, CheckErrorAndDispatchExceptions)
{
    EXPECT_NO_THROW(AfxCheckError(S_OK));
    SCODE sc = S_OK;
    try {
        AfxCheckError(E_FAIL);
    } catch (COleException* e) {
        sc = e->m_sc;
        e->Delete();
    }
    EXPECT_EQ(E_FAIL, sc);
    bool bMemory = false;
    try {
        AfxCheckError(E_OUTOFMEMORY);
    } catch (CMemoryException* e) {
        bMemory = true;
        e->Delete();
    }
    EXPECT_TRUE(bMemory);

    COleDispatchException* pDispatch = NULL;
    try {
        AfxThrowOleDispatchException(7, "Kein Termin gefunden", 5);
    } catch (COleDispatchException* e) {
        pDispatch = e;
    }
    ASSERT_NE(nullptr, pDispatch);
    EXPECT_EQ(7, pDispatch->m_wCode);
    EXPECT_EQ(HID_BASE_DISPATCH + 5, pDispatch->m_dwHelpContext);
    EXPECT_STREQ("Kein Termin gefunden", ErrorMessage(*pDispatch));
    pDispatch->Delete();

    try {
        AfxThrowOleDispatchException(1, (UINT)IDS_TEST_MESSAGE);
    } catch (COleDispatchException* e) {
        pDispatch = e;
    }
    EXPECT_STREQ("Meldung aus der Ressource", pDispatch->m_strDescription);
    EXPECT_EQ(HID_BASE_DISPATCH + IDS_TEST_MESSAGE, pDispatch->m_dwHelpContext);
    pDispatch->Delete();
}
