#include "ui/DialogTemplate.h"

#include "ui/ControlIds.h"

namespace {

constexpr unsigned kButton = PushButton | TabStop;
constexpr unsigned kCheckBox = AutoCheckBox | TabStop;
constexpr unsigned kLineEdit = AutoHScroll | Border | TabStop;
constexpr unsigned kTextBox = MultiLine | AutoVScroll | VScroll | Border | TabStop;

}  // namespace

const std::array<ControlTemplate, 25> kDialogControls = {{
    {IDOK, ControlClass::Button, "ReturnList", {73, 139, 40, 14}, DefaultButton | TabStop},
    {IDCANCEL, ControlClass::Button, "Cancel", {73, 279, 50, 14}, kButton},
    {ID_EDIT_CLEAR, ControlClass::Button, "&CLEAR", {159, 273, 42, 17}, kButton},
    {IDC_GET, ControlClass::Button, "GET", {6, 268, 42, 17}, kButton},
    {IDC_RESULT, ControlClass::Edit, "", {3, 158, 212, 104}, kTextBox},
    {IDC_URL, ControlClass::Edit, "", {38, 4, 175, 14}, kLineEdit},
    {IDC_REFERER, ControlClass::Edit, "", {38, 36, 175, 14}, kLineEdit},
    {IDC_DEBUG, ControlClass::Button, "Debug", {6, 114, 32, 10}, kCheckBox},
    {IDC_HEAD, ControlClass::Button, "Head", {43, 114, 35, 10}, kCheckBox},
    {IDC_STATIC, ControlClass::Static, "URL", {4, 7, 30, 14}, CentredText | Group},
    {IDC_STATIC, ControlClass::Static, "Referer", {5, 38, 30, 14}, CentredText | Group},
    {IDC_STATIC, ControlClass::Static, "PostData", {2, 77, 30, 14}, RightText | Group},
    {IDC_POSTDATA, ControlClass::Edit, "", {38, 71, 175, 42}, kTextBox},
    {IDC_UPASTE, ControlClass::Button, "uPaste", {70, 20, 28, 14}, kButton},
    {IDC_RPASTE, ControlClass::Button, "rPaste", {39, 54, 28, 14}, kButton},
    {IDC_PPASTE, ControlClass::Button, "pPaste", {132, 54, 28, 14}, kButton},
    {IDC_PCLEAR, ControlClass::Button, "pClear", {173, 54, 28, 14}, kButton},
    {IDC_RCLEAR, ControlClass::Button, "rClear", {75, 54, 28, 14}, kButton},
    {IDC_UCLEAR, ControlClass::Button, "uClear", {106, 20, 28, 14}, kButton},
    {IDC_SENDCOOKIE, ControlClass::Button, "SendCookie", {6, 127, 53, 10}, kCheckBox},
    {IDC_SAVECOOKIE, ControlClass::Button, "SaveCookie", {6, 140, 53, 10}, kCheckBox},
    {IDC_POST, ControlClass::Button, "POST", {7, 289, 42, 17}, kButton},
    {IDC_LIST, ControlClass::ListView, "", {217, 2, 136, 307}, ReportView | AlignLeft | Border},
    {IDC_PICTURE, ControlClass::Static, "", {357, 6, 344, 161}, OwnerDraw},
    {IDC_USERINFO, ControlClass::Button, "USERINFO", {136, 131, 75, 20}, kButton},
}};
