#pragma once

// The dialog's control ids, beside the system's IDOK and IDCANCEL.

constexpr int IDOK = 1;               // "ReturnList", the default button
constexpr int IDCANCEL = 2;           // "Cancel"
constexpr int ID_EDIT_CLEAR = 57664;  // "&CLEAR": the standard Clear command
constexpr int IDC_STATIC = -1;        // labels nobody addresses

constexpr int IDC_GET = 1000;
constexpr int IDC_RESULT = 1001;
constexpr int IDC_URL = 1002;
constexpr int IDC_REFERER = 1003;
constexpr int IDC_DEBUG = 1004;
constexpr int IDC_HEAD = 1005;
constexpr int IDC_POSTDATA = 1006;
constexpr int IDC_UPASTE = 1007;
constexpr int IDC_RPASTE = 1008;
constexpr int IDC_PPASTE = 1009;
constexpr int IDC_PCLEAR = 1010;
constexpr int IDC_RCLEAR = 1011;
constexpr int IDC_UCLEAR = 1012;
constexpr int IDC_SENDCOOKIE = 1013;
constexpr int IDC_SAVECOOKIE = 1014;
constexpr int IDC_POST = 1015;
constexpr int IDC_LIST = 1016;
constexpr int IDC_PICTURE = 1017;
constexpr int IDC_USERINFO = 1018;
