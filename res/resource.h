// Resource and control IDs, shared by velmora.rc and the code.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC -1
#endif

#define IDI_VELMORA 128

#define IDD_ABOUTBOX 100
#define IDD_MAIN 129
#define IDD_PIN 201
#define IDD_LIST 202

// Main dialog (129)
#define IDC_READERS 1000
#define IDC_CONNECT 1001
#define IDC_ICCID 1002
#define IDC_PIN1_STATE 1003
#define IDC_PIN2_STATE 1004
#define IDC_IMSI 1005
#define IDC_LINK 1006
#define IDC_ADN_COUNT 1008
#define IDC_FDN_COUNT 1009
#define IDC_VIEW_ADN 1010
#define IDC_VIEW_FDN 1011
#define IDC_SMS_COUNT 1012
#define IDC_VIEW_SMS 1013
#define ID_APP_ABOUT 57664

// PIN dialog (201)
#define IDC_PIN_EDIT 1008
#define IDC_PIN_TRIES 1011

// List dialog (202)
#define IDC_LIST 1000
#define IDC_EXPORT 1013
