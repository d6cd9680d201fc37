// Counts the strong connections of automation clients to the document. When the last one goes
// from a program that COM started ("Embedding"), the main window is asked to close.
#pragma once

#include <afxwin.h>
#include <objidl.h>

class COrvexDoc;

class CExternalConnection : public IExternalConnection {
public:
    // bEmbedded: the command line holds "Embedding" (then the user is out of control, as the
    // framework has it for such a start).
    CExternalConnection(COrvexDoc* pDocument, BOOL bEmbedded);
    virtual ~CExternalConnection() = default;

    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD_(DWORD, AddConnection)(DWORD extconn, DWORD reserved) override;
    STDMETHOD_(DWORD, ReleaseConnection)(DWORD extconn, DWORD reserved, BOOL fLastReleaseCloses) override;

    long GetConnections() const { return m_nConnections; }
    BOOL IsEmbedded() const { return m_bEmbedded; }
    // Whether the command line asks for an embedded start ("-Embedding" or "/Embedding").
    static BOOL CommandLineIsEmbedded(LPCTSTR lpszCommandLine);

private:
    long m_nConnections;
    long m_nRefs;
    COrvexDoc* m_pDocument;
    BOOL m_bEmbedded;
};
