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

// A form view's template with an OLE control, one with a control nobody serves, and an id
// without a template.
#define IDD_OLE_FORM 203
#define IDD_OLE_FORM_MISSING 204
#define IDD_OLE_FORM_NONE 205

// Document templates of the template server's tests (their strings, one menu).
#define IDR_OLE_DOC 210
#define IDR_OLE_DOC_SHORT 211
#define IDR_OLE_DOC_BARE 212
#define IDR_OLE_DOC_NOTYPE 213
#define ID_OLE_DOC_COMMAND 40001
