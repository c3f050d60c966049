// The catalogue's user and video views. The catalogue views fill these in.

#include "ui/CMainDlg.h"

void CMainDlg::OnUserInfo() {}
void CMainDlg::OnReturnList() {}
void CMainDlg::OnListNotify(ListNotification) {}
void CMainDlg::ShowUserList() {}
void CMainDlg::ShowUserVideos(std::uintptr_t) {}
void CMainDlg::ShowDetails() {}
