#include "CDataApplication.h"

CDataApplication::~CDataApplication() {}

CDataApplication* CDataApplication::Get() { return dynamic_cast<CDataApplication*>(AfxGetApp()); }
