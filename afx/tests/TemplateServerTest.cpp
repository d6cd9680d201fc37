// The class factory of a document template: the registration written from the template's
// strings, and creation requests that open the template's document for the client, with its
// frame hidden and the client as its only owner, whose release closes it.
#include <gtest/gtest.h>

#include "MessageBoxProbe.h"
#include "OleTestResource.h"
#include "OleTestSupport.h"

namespace {

int g_nDocuments = 0;

class CServedDoc : public CDocument {
    DECLARE_DYNCREATE(CServedDoc)
public:
    CServedDoc()
    {
        EnableAutomation();
        AfxOleLockApp();
        g_nDocuments++;
    }
    ~CServedDoc() override
    {
        g_nDocuments--;
        AfxOleUnlockApp();
    }
    BOOL OnNewDocument() override
    {
        if (!CDocument::OnNewDocument())
            return FALSE;
        m_nNewDocuments++;
        return TRUE;
    }
    long m_nNewDocuments = 0;
    long m_nValue = 3;
    DECLARE_DISPATCH_MAP()
};

IMPLEMENT_DYNCREATE(CServedDoc, CDocument)

BEGIN_DISPATCH_MAP(CServedDoc, CDocument)
DISP_PROPERTY(CServedDoc, "Value", m_nValue, VT_I4)
END_DISPATCH_MAP()

class CServedView : public CView {
    DECLARE_DYNCREATE(CServedView)
public:
    void OnDraw(CDC*) override {}
};

IMPLEMENT_DYNCREATE(CServedView, CView)

// {D1A2B3C4-5E6F-4A7B-8C9D-0E1F2A3B4C5D}
const CLSID CLSID_Served = {0xd1a2b3c4, 0x5e6f, 0x4a7b, {0x8c, 0x9d, 0x0e, 0x1f, 0x2a, 0x3b, 0x4c, 0x5d}};
const std::string kServedClsid = "{D1A2B3C4-5E6F-4A7B-8C9D-0E1F2A3B4C5D}";
const char* const kProgIDs[] = {"OX.Test.Vorlage", "OX.Test.Kurz", "OX.Test.Nur"};

void RemoveRegistrations()
{
    for (const char* pszProgID : kProgIDs)
        AfxOleUnregisterClass(CLSID_Served, pszProgID);
}

std::string ModulePath()
{
    char szPath[MAX_PATH];
    GetModuleFileNameA(NULL, szPath, MAX_PATH);
    return szPath;
}

TEST(OleTemplateServer, RegistersTheTemplatesDocumentTypeFromItsStrings)
{
    struct Case {
        const char* pszWhat;
        UINT nIDResource;
        OLE_APPTYPE nAppType;
        const char* pszProgID;   // the template's type id
        const char* pszTypeName; // NULL: nothing is written
    };
    const Case cases[] = {
        {"type id and names", IDR_OLE_DOC, OAT_DISPATCH_OBJECT, "OX.Test.Vorlage", "OX Vorlagen-Testdokument"},
        {"no type name: the short name", IDR_OLE_DOC_SHORT, OAT_DISPATCH_OBJECT, "OX.Test.Kurz", "Kurzname"},
        {"no names: the type id", IDR_OLE_DOC_BARE, OAT_DISPATCH_OBJECT, "OX.Test.Nur", "OX.Test.Nur"},
        {"no type id: nothing", IDR_OLE_DOC_NOTYPE, OAT_DISPATCH_OBJECT, "", NULL},
        {"an embedding server (the default kind): nothing", IDR_OLE_DOC, OAT_INPLACE_SERVER, "OX.Test.Vorlage", NULL},
    };
    for (const Case& c : cases) {
        RemoveRegistrations();
        CSingleDocTemplate docTemplate(c.nIDResource, RUNTIME_CLASS(CServedDoc), RUNTIME_CLASS(CFrameWnd),
                                       RUNTIME_CLASS(CServedView));
        COleTemplateServer server;
        server.ConnectTemplate(CLSID_Served, &docTemplate, FALSE);
        EXPECT_EQ(&server, docTemplate.m_pAttachedFactory) << c.pszWhat;
        if (c.nAppType == OAT_INPLACE_SERVER)
            server.UpdateRegistry();
        else
            server.UpdateRegistry(c.nAppType);

        std::string strValue;
        const std::string strClass = "CLSID\\" + kServedClsid;
        BOOL bWritten = afxtest::ReadClassesValue(strClass + "\\LocalServer32", &strValue);
        EXPECT_EQ(c.pszTypeName != NULL, bWritten) << c.pszWhat;
        if (c.pszTypeName == NULL) {
            if (*c.pszProgID != '\0') {
                EXPECT_FALSE(afxtest::ReadClassesValue(c.pszProgID, &strValue)) << c.pszWhat;
            }
            continue;
        }
        struct Key {
            std::string strKey;
            std::string strValue;
        };
        const Key keys[] = {
            {c.pszProgID, c.pszTypeName},
            {std::string(c.pszProgID) + "\\CLSID", kServedClsid},
            {strClass, c.pszTypeName},
            {strClass + "\\ProgID", c.pszProgID},
            {strClass + "\\LocalServer32", ModulePath() + " /Automation"},
        };
        for (const Key& key : keys) {
            EXPECT_TRUE(afxtest::ReadClassesValue(key.strKey, &strValue)) << c.pszWhat << ": " << key.strKey;
            EXPECT_EQ(key.strValue, strValue) << c.pszWhat << ": " << key.strKey;
        }
        EXPECT_STREQ(c.pszProgID, server.GetProgID()) << c.pszWhat;

        EXPECT_TRUE(server.Unregister()) << c.pszWhat;
        for (const Key& key : keys)
            EXPECT_FALSE(afxtest::ReadClassesValue(key.strKey, &strValue)) << c.pszWhat << ": " << key.strKey << " is gone";
    }
    RemoveRegistrations();
}

TEST(OleTemplateServer, TheRegistrationOfAllFactoriesTakesTheTemplatesType)
{
    RemoveRegistrations();
    CSingleDocTemplate docTemplate(IDR_OLE_DOC, RUNTIME_CLASS(CServedDoc), RUNTIME_CLASS(CFrameWnd),
                                   RUNTIME_CLASS(CServedView));
    COleTemplateServer server;
    server.ConnectTemplate(CLSID_Served, &docTemplate, FALSE);
    std::string strValue;
    ASSERT_TRUE(COleObjectFactory::UpdateRegistryAll(TRUE));
    EXPECT_TRUE(afxtest::ReadClassesValue("OX.Test.Vorlage\\CLSID", &strValue));
    EXPECT_EQ(kServedClsid, strValue);
    ASSERT_TRUE(COleObjectFactory::UpdateRegistryAll(FALSE));
    EXPECT_FALSE(afxtest::ReadClassesValue("OX.Test.Vorlage\\CLSID", &strValue));
    EXPECT_FALSE(afxtest::ReadClassesValue("CLSID\\" + kServedClsid, &strValue));

    // A server without a template has nothing to register or to serve.
    COleTemplateServer unconnected;
    EXPECT_FALSE(unconnected.UpdateRegistry(TRUE));
    EXPECT_FALSE(unconnected.Register());
    EXPECT_FALSE(unconnected.IsRegistered());
    void* pObject = &unconnected;
    EXPECT_EQ(E_OUTOFMEMORY, unconnected.GetClassFactory()->CreateInstance(NULL, IID_IDispatch, &pObject));
    EXPECT_EQ(nullptr, pObject);
}

TEST(OleTemplateServer, ACreationRequestOpensTheTemplatesDocumentHiddenForTheClient)
{
    struct Case {
        const char* pszWhat;
        BOOL bStartDocument; // the program's start made the document and its hidden frame
        BOOL bUserCtrl;
    };
    const Case cases[] = {
        {"a program started for automation, the document comes with the request", FALSE, FALSE},
        {"the start's hidden document is handed to the client", TRUE, FALSE},
        {"a user's program whose document a client takes", TRUE, TRUE},
    };
    for (const Case& c : cases) {
        CWinApp app("OX Vorlagenserver");
        CSingleDocTemplate* pTemplate = new CSingleDocTemplate(IDR_OLE_DOC, RUNTIME_CLASS(CServedDoc),
                                                               RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CServedView));
        app.AddDocTemplate(pTemplate);
        COleTemplateServer server;
        server.ConnectTemplate(CLSID_Served, pTemplate, TRUE);
        AfxOleSetUserCtrl(c.bUserCtrl);
        afxtest::QuitPosted();
        if (c.bStartDocument) {
            app.m_nCmdShow = SW_HIDE;
            app.OnFileNew();
            ASSERT_EQ(1, g_nDocuments) << c.pszWhat;
        }

        IDispatch* pDispatch = NULL;
        ASSERT_EQ(S_OK, server.GetClassFactory()->CreateInstance(NULL, IID_IDispatch, (void**)&pDispatch))
            << c.pszWhat;
        CCmdTarget* pTarget = CCmdTarget::FromIDispatch(pDispatch);
        ASSERT_NE(nullptr, pTarget) << c.pszWhat;
        ASSERT_TRUE(pTarget->IsKindOf(RUNTIME_CLASS(CServedDoc))) << c.pszWhat;
        CServedDoc* pDoc = (CServedDoc*)pTarget;
        EXPECT_EQ(1, g_nDocuments) << c.pszWhat << ": one document";
        EXPECT_EQ(1, pDoc->m_dwRef) << c.pszWhat << ": the client's reference is the only one";
        EXPECT_EQ(c.bStartDocument ? 2 : 1, pDoc->m_nNewDocuments) << c.pszWhat << ": opened anew through the template";
        ASSERT_NE(nullptr, app.m_pMainWnd) << c.pszWhat;
        ASSERT_TRUE(app.m_pMainWnd->IsFrameWnd());
        EXPECT_EQ(pDoc, ((CFrameWnd*)app.m_pMainWnd)->GetActiveDocument()) << c.pszWhat;
        EXPECT_FALSE(app.m_pMainWnd->IsWindowVisible()) << c.pszWhat << ": the window stays hidden";
        afxtest::CallResult r;
        afxtest::Call(r, pDispatch, 1, DISPATCH_PROPERTYGET);
        EXPECT_EQ(S_OK, r.hr);
        EXPECT_EQ(3, r.result.v.lVal);

        HWND hMain = app.m_pMainWnd->m_hWnd;
        pDispatch->Release();
        EXPECT_EQ(0, g_nDocuments) << c.pszWhat << ": the client's release closed the document";
        EXPECT_FALSE(::IsWindow(hMain)) << c.pszWhat << ": and its frame";
        EXPECT_EQ(nullptr, app.m_pMainWnd) << c.pszWhat;
        EXPECT_TRUE(afxtest::QuitPosted()) << c.pszWhat << ": the program ends with its main window's document";
        EXPECT_TRUE(AfxOleCanExitApp());
        AfxOleSetUserCtrl(TRUE);
    }
}

TEST(OleTemplateServer, ADocumentThatCannotBeOpenedFailsTheRequest)
{
    // the template's frame has no menu resource: no frame, no document
    CWinApp app("OX Vorlagenserver");
    CSingleDocTemplate* pTemplate = new CSingleDocTemplate(IDR_OLE_DOC_SHORT, RUNTIME_CLASS(CServedDoc),
                                                           RUNTIME_CLASS(CFrameWnd), RUNTIME_CLASS(CServedView));
    app.AddDocTemplate(pTemplate);
    COleTemplateServer server;
    server.ConnectTemplate(CLSID_Served, pTemplate, TRUE);
    afxtest::MessageBoxProbe boxes;
    void* pObject = &server;
    EXPECT_EQ(E_OUTOFMEMORY, server.GetClassFactory()->CreateInstance(NULL, IID_IDispatch, &pObject));
    EXPECT_EQ(nullptr, pObject);
    EXPECT_EQ(0, g_nDocuments) << "nothing is left";
    EXPECT_EQ(nullptr, app.m_pMainWnd);
    EXPECT_EQ(1, boxes.m_nCalls);
    EXPECT_EQ("Es konnte kein neues Dokument angelegt werden.", boxes.m_lastText);
    EXPECT_TRUE(AfxOleCanExitApp());
    afxtest::QuitPosted();
}

} // namespace
