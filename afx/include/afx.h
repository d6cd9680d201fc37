// The core of the class library: objects and run-time classes, strings, exceptions, files,
// archives and times.
#pragma once

#include "AfxBase.h"
#include "AfxModuleState.h"
#include "CRuntimeClass.h"
#include "CObject.h"
#include "CString.h"
#include "CException.h"
#include "AfxExceptionLink.h"
#include "CSimpleException.h"
#include "CMemoryException.h"
#include "CNotSupportedException.h"
#include "CResourceException.h"
#include "CInvalidArgException.h"
#include "CArchiveException.h"
#include "CFileException.h"
#include "CTimeSpan.h"
#include "CTime.h"
#include "CFile.h"
#include "CMemFile.h"
#include "CStdioFile.h"
#include "CArchive.h"
