// The request workbench: the form copied into the FormSnapshot and the transfer switches, one
// GET or POST on a worker thread, and the paste and clear buttons of its edits.

#include "http/TextConversions.h"
#include "http/TransferSwitches.h"
#include "http/Workbench.h"
#include "platform/Notices.h"
#include "platform/ScopeExit.h"
#include "platform/Workers.h"
#include "ui/CMainDlg.h"
#include "ui/CMultiLineEdit.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDebug>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <new>
#include <string>
#include <utility>

namespace {

// Text ends at its first NUL, as a C string does.
void EndAtNul(std::u16string& text) {
  const auto nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);
}

QString EditText(const QLineEdit* edit) { return edit->text(); }

// Line breaks of a multi-line edit read as CR LF. The raw text keeps every other character,
// no-break spaces and line separators included, as typed or pasted.
QString EditText(const CMultiLineEdit* edit) { return edit->Text(); }

// The edit's text up to its first NUL. Qt hands the text over whole, so the one read that
// can fail is the one that finds no memory for it; the member then keeps its old value.
template <class Edit>
bool ReadEdit(const Edit* edit, std::u16string& member) {
  try {
    std::u16string text = EditText(edit).toStdU16String();
    EndAtNul(text);
    member = std::move(text);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

std::uint8_t IsChecked(const QCheckBox* check) {
  return check->checkState() == Qt::Checked ? 1 : 0;  // partly checked counts as not checked
}

// The worker hands its result over by notice: first the text, then the buttons, which come
// back however the transfer or the decoding ended.
void RunWorkbenchWorker(void (*transfer)()) {
  const ScopeExit give_back([] { PostNotice(1, EnableSend); });
  transfer();
  DecodeResponseText();
  PostNotice(0, ShowResult);
}

void GetWorker() { RunWorkbenchWorker(WorkbenchGet); }

void PostWorker() { RunWorkbenchWorker(WorkbenchPost); }

}  // namespace

// Edits in exchange order; at the first that cannot be read the exchange stops there with a
// beep and the focus on that edit, leaving everything after it as it was.
bool CMainDlg::ReadForm() {
  const auto refuse = [](QWidget* edit) {
    QApplication::beep();
    edit->setFocus();
    return false;
  };
  if (!ReadEdit(m_url_edit, m_url_text)) return refuse(m_url_edit);
  if (!ReadEdit(m_referer_edit, m_referer_text)) return refuse(m_referer_edit);
  if (!ReadEdit(m_post_data_edit, m_post_data_text)) return refuse(m_post_data_edit);
  if (!ReadEdit(m_result_edit, m_result_text)) return refuse(m_result_edit);

  m_debug = IsChecked(m_debug_check);
  m_head = IsChecked(m_head_check);
  m_send_cookie = IsChecked(m_send_cookie_check);
  m_save_cookie = IsChecked(m_save_cookie_check);
  myCurl::TransferSwitches.Store(
      {m_debug != 0, m_head != 0, m_send_cookie != 0, m_save_cookie != 0});

  // Taken as they stand: nothing trimmed, nothing escaped for a URL.
  FormSnapshot.url = WideToAnsi(m_url_text);
  FormSnapshot.referer = WideToAnsi(m_referer_text);
  FormSnapshot.post_data = WideToAnsi(m_post_data_text);
  return true;
}

void CMainDlg::OnGet() { SendForm(m_get_button, GetWorker); }

void CMainDlg::OnPost() { SendForm(m_post_button, PostWorker); }

// Only the pressed button goes grey. The FormSnapshot and the response buffers exist once, so
// while a transfer runs a press starts nothing, and that transfer's EnableSend brings both
// buttons back and ends the claim. A failed read leaves the pressed button disabled.
void CMainDlg::SendForm(QPushButton* pressed, void (*worker)()) {
  pressed->setEnabled(false);
  if (!ClaimWorkbench()) return;
  if (!ReadForm()) {
    ReleaseWorkbench();
    return;
  }
  if (FormSnapshot.url.empty()) {
    PostNotice(1, EnableSend);  // its handling ends the claim
    return;
  }
  if (!StartWorker(worker)) {
    ReleaseWorkbench();
    m_get_button->setEnabled(true);
    m_post_button->setEnabled(true);
  }
}

// Only text is taken, with every space dropped; the text as found goes to the debug output.
bool CMainDlg::ReadClipboardText(std::u16string& text) {
  const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
  if (offered == nullptr || !offered->hasText()) return false;
  std::u16string found = offered->text().toStdU16String();
  EndAtNul(found);
  text.clear();
  std::remove_copy(found.begin(), found.end(), std::back_inserter(text), u' ');
  qDebug().noquote() << QString::fromStdU16String(found);
  return true;
}

void CMainDlg::OnPasteUrl() {
  std::u16string text;
  if (ReadClipboardText(text)) m_url_edit->setText(QString::fromStdU16String(text));
}

void CMainDlg::OnPasteReferer() {
  std::u16string text;
  if (ReadClipboardText(text)) m_referer_edit->setText(QString::fromStdU16String(text));
}

void CMainDlg::OnPastePostData() {
  std::u16string text;
  if (ReadClipboardText(text)) m_post_data_edit->SetText(std::move(text));
}

void CMainDlg::OnClearUrl() { m_url_edit->clear(); }

void CMainDlg::OnClearReferer() { m_referer_edit->clear(); }

void CMainDlg::OnClearPostData() { m_post_data_edit->Clear(); }

void CMainDlg::OnClearResult() { m_result_edit->Clear(); }
