// What a frame, a splitter or a view is created with: the class of the view to make, the document
// it shows and that document's template, the view that was active before and the frame it goes
// into. Passed as the creation parameter of the window (CREATESTRUCT::lpCreateParams).
#pragma once

#include "AfxBase.h"

class CDocument;
class CDocTemplate;
class CView;
class CFrameWnd;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = NULL;
    CDocument* m_pCurrentDoc = NULL;
    CDocTemplate* m_pNewDocTemplate = NULL;
    CView* m_pLastView = NULL;
    CFrameWnd* m_pCurrentFrame = NULL;
};
