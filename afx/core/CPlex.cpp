#include "afx.h"
#include "CPlex.h"

#include <stdlib.h>

CPlex* PASCAL CPlex::Create(CPlex*& pHead, UINT nMax, UINT cbElement)
{
    unsigned long long nBytes = (unsigned long long)nMax * cbElement;
    if (nMax == 0 || cbElement == 0 || nBytes > 0x7FFFFFFFull)
        AfxThrowMemoryException();
    CPlex* p = (CPlex*)malloc(sizeof(CPlex) + (size_t)nBytes);
    if (p == NULL)
        AfxThrowMemoryException();
    p->pNext = pHead;
    pHead = p;
    return p;
}

void CPlex::FreeDataChain()
{
    CPlex* p = this;
    while (p != NULL) {
        CPlex* pNext = p->pNext;
        free(p);
        p = pNext;
    }
}
