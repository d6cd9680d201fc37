// Resource ids of the OLE tests.
#pragma once

#define IDD_OLE_CONTROLS 200
#define IDD_OLE_MISSING 201
#define IDD_OLE_PLAIN 202

#define IDC_OLE_EDIT1 1001
#define IDC_OLE_CTL1 1002
#define IDC_OLE_EDIT2 1003
#define IDC_OLE_CTL2 1004
#define IDC_OLE_LIST 1005
#define IDC_OLE_COMBO 1006
#define IDC_OLE_CTL3 1007
