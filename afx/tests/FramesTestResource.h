// Resources of the frame layer's test program.
#pragma once

// frames, documents and their strings, menus and accelerators
#define IDR_PROBEFRAME 100
#define IDR_PROBEMDI 101
#define IDR_PROBECHILD 102

// commands and their status texts and tips
#define ID_PROBE_VIEW 32801
#define ID_PROBE_DOC 32802
#define ID_PROBE_FRAME 32803
#define ID_PROBE_APP 32804
#define ID_PROBE_NOBODY 32805
#define ID_PROBE_DISABLED 32806
#define ID_PROBE_CHECKED 32807
#define ID_PROBE_TEMPLATE 32808
#define ID_ROUTE_CHAIN 32810
#define ID_ROUTE_ALL 32811
#define ID_ROUTE_DOC_FRAME_APP 32812
#define ID_ROUTE_TEMPLATE_FRAME_APP 32813
#define ID_ROUTE_FRAME_APP 32814
#define ID_ROUTE_APP 32815
#define ID_ROUTE_NONE 32816

// property pages, their captions and controls
#define IDD_PAGE_NAME 200
#define IDD_PAGE_NUMBER 201
#define IDD_PAGE_NOTE 202
#define IDS_SHEET_CAPTION 300
#define IDS_PAGE_NAME 301
#define IDS_PAGE_NUMBER 302
#define IDS_PAGE_NOTE 303
#define IDC_PAGE_EDIT 1001
#define IDC_PAGE_CHECK 1002

// a form view and a control with a tooltip
#define IDD_PROBE_FORM 210
#define IDC_FORM_NAME 1010
#define IDC_FORM_COUNT 1011
#define IDC_TIP_BUTTON 1020
