// The request workbench's commands. The workbench fills these in.

#include "ui/CMainDlg.h"

void CMainDlg::OnClearResult() {}
void CMainDlg::OnPasteUrl() {}
void CMainDlg::OnPasteReferer() {}
void CMainDlg::OnPastePostData() {}
void CMainDlg::OnClearUrl() {}
void CMainDlg::OnClearReferer() {}
void CMainDlg::OnClearPostData() {}
void CMainDlg::OnGet() {}
void CMainDlg::OnPost() {}
