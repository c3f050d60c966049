#include "ui/CMainDlg.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QStringList>
#include <QTreeWidget>

#include <array>

namespace {

// The user view: name, picture size, a column never filled, and the first video's description.
constexpr std::array<const char*, 4> kUserColumns = {"  name        ", "大小", "查看   ",
                                                     "desc              "};

}  // namespace

// Each column is as wide as its caption plus 15 pixels.
void CMainDlg::SetupListColumns() {
  QStringList captions;
  for (const char* caption : kUserColumns) captions << QString::fromUtf8(caption);
  m_list_view->setColumnCount(static_cast<int>(captions.size()));
  m_list_view->setHeaderLabels(captions);
  const QFontMetrics metrics = m_list_view->fontMetrics();
  for (int column = 0; column < captions.size(); ++column) {
    m_list_view->header()->resizeSection(column, metrics.horizontalAdvance(captions[column]) + 15);
  }
}
