#include "CLinkedApplication.h"

#include <afxdisp.h>
#include <shellapi.h>

#include "CRegistrySubkeyList.h"
#include "MfxWindows.h"

namespace {

// A user name from the name of a users file: without its last 4 characters (".rbi"), at most 8
// characters.
CString UserOfFile(const CString& strFile)
{
    return strFile.Left(strFile.GetLength() > 4 ? strFile.GetLength() - 4 : 0).Left(8);
}

// Releases what a connection holds; the last Release's result.
ULONG ReleaseConnection(LPUNKNOWN& pUnknown, LPDISPATCH& pDispatch)
{
    ULONG nResult = 0;
    if (pDispatch != NULL)
        nResult = pDispatch->Release();
    if (pUnknown != NULL)
        nResult = pUnknown->Release();
    pDispatch = NULL;
    pUnknown = NULL;
    return nResult;
}

// Argument lists of the four methods.
const BYTE kRecordParams[] = VTS_BSTR VTS_BSTR VTS_DISPATCH;
const BYTE kExecuteParams[] = VTS_BSTR VTS_DISPATCH VTS_I4 VTS_VARIANT;
const BYTE kActionDataParams[] = VTS_BSTR VTS_PVARIANT VTS_DISPATCH VTS_I4;

// The server start's waits: after the start, and between the tries that look for it.
const DWORD kStartWait = 4000;
const DWORD kRetryWait = 500;
const int kRetries = 20;

} // namespace

CLinkedApplication::CLinkedApplication(LPCTSTR lpszId, LPCTSTR lpszAppsKey)
    : m_strId(lpszId), m_actions(10), m_bStarted(0), m_pDispatch(NULL), m_pUnknown(NULL), m_strAppsKey(lpszAppsKey),
      m_dwHomeThread(::GetCurrentThreadId())
{
}

CLinkedApplication::~CLinkedApplication()
{
    Disconnect();
    RemoveAllActions();
    m_users.RemoveAll();
}

CString CLinkedApplication::GetKeyPath() const { return m_strAppsKey + "\\" + m_strId; }

BOOL CLinkedApplication::LoadUsers()
{
    m_users.RemoveAll();
    if (!m_strUsersDir.IsEmpty()) {
        CString strDir = m_strUsersDir;
        if (strDir.Right(1) != "\\")
            strDir += "\\";
        WIN32_FIND_DATAA find;
        HANDLE hFind = ::FindFirstFileA(strDir + "*.rbi", &find);
        if (hFind != INVALID_HANDLE_VALUE) {
            do {
                if ((find.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
                    m_users.AddTail(UserOfFile(find.cFileName));
            } while (::FindNextFileA(hFind, &find));
            ::FindClose(hFind);
        }
    } else if (!m_strAppsKey.IsEmpty()) {
        CRegistrySubkeyList keys(HKEY_CURRENT_USER, 0);
        m_users.AddTail(const_cast<CStringList*>(&keys.Collect(GetKeyPath() + "\\Users")));
    }
    return !m_users.IsEmpty();
}

void CLinkedApplication::LoadActions()
{
    RemoveAllActions();
    if (m_strAppsKey.IsEmpty())
        return;
    const CString strActions = GetKeyPath() + "\\Actions";
    CRegistrySubkeyList keys(HKEY_CURRENT_USER, 0);
    const CStringList& ids = keys.Collect(strActions);
    for (POSITION pos = ids.GetHeadPosition(); pos != NULL;) {
        const CString strActionId = ids.GetNext(pos);
        const CString strKey = strActions + "\\" + strActionId;
        const CString strField = strKey + "\\Field";
        CLinkedAction* pAction = new CLinkedAction;
        pAction->m_strId = strActionId;
        keys.ReadString(strKey, "Title", pAction->m_strTitle);
        pAction->m_nPictureId = (int)keys.ReadDwordDefault(strKey, "CtlPicID", 0);
        pAction->m_bAskForData = keys.ReadDwordDefault(strKey, "QuestAppData", 0) == 1;
        CString strType;
        pAction->m_bBinaryData = keys.ReadString(strKey, "AppDataType", strType) && strType == "BIN";
        if (keys.ReadString(strField, "Label", pAction->m_strParameterLabel)) {
            pAction->m_bSelectButton = keys.ReadDwordDefault(strField, "UseSelectButton", 0) == 1;
            keys.ReadString(strField, "SelectFilter", pAction->m_strSelectFilter);
        }
        AddAction(pAction);
    }
}

void CLinkedApplication::AddAction(CLinkedAction* pAction)
{
    pAction->m_pApplication = this;
    m_actions.AddTail(pAction);
}

CLinkedAction* CLinkedApplication::FindAction(LPCTSTR lpszId) const
{
    CSingleLock lock(m_actions.GetLock(), TRUE);
    for (POSITION pos = m_actions.GetHeadPosition(); pos != NULL;) {
        CLinkedAction* pAction = m_actions.GetNext(pos);
        if (pAction->m_strId == lpszId)
            return pAction;
    }
    return NULL;
}

void CLinkedApplication::RemoveAllActions()
{
    CSingleLock lock(m_actions.GetLock(), TRUE);
    while (!m_actions.IsEmpty())
        delete m_actions.RemoveHead();
}

// ---- automation ------------------------------------------------------------------------------------

BOOL CLinkedApplication::Connect()
{
    if (::GetCurrentThreadId() != m_dwHomeThread)
        return FALSE;
    if (m_pDispatch != NULL && m_pUnknown != NULL)
        return TRUE;
    return MakeConnection(m_bStarted, m_pUnknown, m_pDispatch);
}

ULONG CLinkedApplication::Disconnect()
{
    m_bStarted = 0;
    return ReleaseConnection(m_pUnknown, m_pDispatch);
}

BOOL CLinkedApplication::MakeConnection(int& bStarted, LPUNKNOWN& pUnknown, LPDISPATCH& pDispatch)
{
    bStarted = 0;
    pUnknown = NULL;
    pDispatch = NULL;
    if (m_strProgId.IsEmpty())
        return FALSE;
    BSTR bstrProgId = m_strProgId.AllocSysString();
    CLSID clsid;
    const HRESULT hr = ::CLSIDFromProgID(bstrProgId, &clsid);
    ::SysFreeString(bstrProgId);
    if (FAILED(hr))
        return FALSE;
    if (SUCCEEDED(::GetActiveObject(clsid, NULL, &pUnknown)) && pUnknown != NULL)
        bStarted = 1;
    else if (StartServer(clsid, &pUnknown))
        bStarted = 1;
    else if (FAILED(::CoCreateInstance(clsid, NULL, CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER,
                                       IID_IUnknown, (void**)&pUnknown)))
        pUnknown = NULL;
    if (pUnknown == NULL)
        return FALSE;
    if (FAILED(pUnknown->QueryInterface(IID_IDispatch, (void**)&pDispatch)) || pDispatch == NULL) {
        pDispatch = NULL;
        ReleaseConnection(pUnknown, pDispatch);
        bStarted = 0;
        return FALSE;
    }
    return TRUE;
}

BOOL CLinkedApplication::StartServer(REFCLSID clsid, LPUNKNOWN* ppUnknown)
{
    *ppUnknown = NULL;
    if (!m_strWindowClass.IsEmpty() && ::FindWindowA(m_strWindowClass, NULL) != NULL)
        return FALSE;

    // The server's program: a ".OVL" registered there is started as the ".EXE" of that name.
    LPOLESTR pszClsid = NULL;
    if (FAILED(::StringFromCLSID(clsid, &pszClsid)))
        return FALSE;
    const CString strKey = "CLSID\\" + CString(pszClsid) + "\\LocalServer32";
    ::CoTaskMemFree(pszClsid);
    char szPath[MAX_PATH + 1] = "";
    LONG cbPath = sizeof szPath;
    if (::RegQueryValueA(HKEY_CLASSES_ROOT, strKey, szPath, &cbPath) != ERROR_SUCCESS)
        return FALSE;
    CString strPath = szPath;
    if (strPath.GetLength() >= 4 && strPath.Right(4).CompareNoCase(".OVL") == 0)
        strPath = strPath.Left(strPath.GetLength() - 3) + "EXE";
    if ((INT_PTR)::ShellExecuteA(NULL, NULL, strPath, NULL, NULL, SW_SHOWNORMAL) <= 32)
        return FALSE;

    // The server registers its running object once it is up.
    ::Sleep(kStartWait);
    MfxPumpWaitingMessages();
    HRESULT hr;
    if (!m_strWindowClass.IsEmpty()) {
        for (int i = 0; i < kRetries && ::FindWindowA(m_strWindowClass, NULL) == NULL; ++i)
            ::Sleep(kRetryWait);
        hr = ::GetActiveObject(clsid, NULL, ppUnknown);
    } else {
        hr = ::GetActiveObject(clsid, NULL, ppUnknown);
        for (int i = 0; i < kRetries && FAILED(hr); ++i) {
            ::Sleep(kRetryWait);
            hr = ::GetActiveObject(clsid, NULL, ppUnknown);
        }
    }
    if (FAILED(hr) || *ppUnknown == NULL) {
        *ppUnknown = NULL;
        return FALSE;
    }
    return TRUE;
}

int CLinkedApplication::CallMethod(LPCOLESTR lpszMethod, const BYTE* pbParams, ...)
{
    // The creating thread uses the held connection; any other thread one of its own for this call.
    const BOOL bHome = ::GetCurrentThreadId() == m_dwHomeThread;
    int bStarted = 0;
    LPUNKNOWN pUnknown = NULL;
    LPDISPATCH pDispatch = NULL;
    if (bHome) {
        if (!Connect())
            return 0;
        pDispatch = m_pDispatch;
    } else if (!MakeConnection(bStarted, pUnknown, pDispatch))
        return 0;

    int nResult = 0;
    DISPID dispid = DISPID_UNKNOWN;
    LPOLESTR pszName = const_cast<LPOLESTR>(lpszMethod);
    if (SUCCEEDED(pDispatch->GetIDsOfNames(IID_NULL, &pszName, 1, LOCALE_SYSTEM_DEFAULT, &dispid))) {
        // The driver borrows the IDispatch: the connection keeps its reference.
        COleDispatchDriver driver(pDispatch, FALSE);
        va_list args;
        va_start(args, pbParams);
        try {
            driver.InvokeHelperV(dispid, DISPATCH_METHOD, VT_EMPTY, NULL, pbParams, args);
            nResult = 1;
        } catch (COleDispatchException* e) {
            e->Delete();
        } catch (COleException* e) {
            e->Delete();
        }
        va_end(args);
        driver.DetachDispatch();
    }
    if (!bHome)
        ReleaseConnection(pUnknown, pDispatch);
    return nResult;
}

int CLinkedApplication::AddContToRec(LPCTSTR lpszRecordNumber, LPCTSTR lpszDbPath, LPDISPATCH pEntry)
{
    return CallMethod(L"OXAddContToRec", kRecordParams, lpszDbPath, lpszRecordNumber, pEntry);
}

int CLinkedApplication::JumpToRec(LPCTSTR lpszRecordNumber, LPCTSTR lpszDbPath, LPDISPATCH pEntry)
{
    return CallMethod(L"OXJumpToRec", kRecordParams, lpszDbPath, lpszRecordNumber, pEntry);
}

int CLinkedApplication::ExecuteAction(LPCTSTR lpszAction, const VARIANT& data, LPDISPATCH pEntry, long nNumber)
{
    return CallMethod(L"OXExecuteAction", kExecuteParams, lpszAction, pEntry, nNumber, &data);
}

int CLinkedApplication::GetActionData(LPCTSTR lpszAction, VARIANT& data, LPDISPATCH pEntry, long nNumber)
{
    return CallMethod(L"OXGetActionData", kActionDataParams, lpszAction, &data, pEntry, nNumber);
}
