#include "ui/ListView.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QHelpEvent>
#include <QStringList>
#include <QStyle>
#include <QToolTip>
#include <QTreeWidget>

#include <array>
#include <span>

namespace {

constexpr std::array<const char*, 4> kUserColumns = {"  name        ", "大小", "查看   ",
                                                     "desc              "};
constexpr std::array<const char*, 3> kVideoColumns = {"  video_intro", "大小", "查看   "};
constexpr std::array<const char*, 2> kFetchingColumns = {"  video_intro", "大小"};

std::span<const char* const> Captions(ListColumnSet set) {
  switch (set) {
    case ListColumnSet::UserView:
      return kUserColumns;
    case ListColumnSet::VideoView:
      return kVideoColumns;
    case ListColumnSet::Fetching:
      break;
  }
  return kFetchingColumns;
}

// Lives on the list's viewport, where the tooltip events arrive. A cell holds at most
// kListCellChars characters, so measuring it is cheap.
class CutCellToolTips : public QObject {
 public:
  explicit CutCellToolTips(QTreeWidget& list) : QObject(&list), m_list(list) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip) return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_list.indexAt(help->pos());
    const QString text = index.data().toString();
    const int margins =
        2 * (m_list.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &m_list) + 1);
    const QRect cell = m_list.visualRect(index);
    if (!index.isValid() ||
        m_list.fontMetrics().horizontalAdvance(text) + margins <= cell.width()) {
      QToolTip::hideText();
    } else {
      // Rich text, so that a long cell wraps instead of running off the screen.
      QToolTip::showText(help->globalPos(), QStringLiteral("<p>%1</p>").arg(text.toHtmlEscaped()),
                         m_list.viewport(), cell);
    }
    return true;
  }

 private:
  QTreeWidget& m_list;
};

}  // namespace

// Each column is as wide as its caption plus 15 pixels.
void ResetListView(QTreeWidget& list, ListColumnSet set) {
  list.clear();
  list.setColumnCount(0);
  QStringList captions;
  for (const char* caption : Captions(set)) captions << QString::fromUtf8(caption);
  list.setHeaderLabels(captions);
  const QFontMetrics metrics = list.fontMetrics();
  for (int column = 0; column < captions.size(); ++column) {
    list.header()->resizeSection(column, metrics.horizontalAdvance(captions[column]) + 15);
  }
}

std::optional<int> SelectedRow(const QTreeWidget& list) {
  std::optional<int> selected;
  for (int row = 0; row < list.topLevelItemCount(); ++row) {
    if (list.topLevelItem(row)->isSelected()) selected = row;
  }
  return selected;
}

void SetListBusy(QTreeWidget& list, bool busy) {
  list.setEnabled(!busy);
  if (busy) {
    list.setCursor(Qt::BusyCursor);
  } else {
    list.unsetCursor();
  }
}

void ShowCutCellsAsToolTips(QTreeWidget& list) {
  list.viewport()->installEventFilter(new CutCellToolTips(list));
}
