#pragma once

// The dialog's multi-line edit (the result box and PostData). It wraps long words anywhere, as
// a Windows edit control breaks a word that does not fit, and it takes in long texts without
// stopping the window: an appended text goes in slice by slice over several turns of the event
// loop, and a line longer than a few thousand characters is held in the document as several
// blocks, cut where the box wraps it anyway, because Qt lays a block out whole each time it
// changes. Those cuts are the box's own: they are not part of its text, nor of what is copied.

#include <QPlainTextEdit>
#include <QString>

#include <deque>
#include <functional>
#include <string>
#include <vector>

class QMimeData;

class CMultiLineEdit : public QPlainTextEdit {
  Q_OBJECT

 public:
  CMultiLineEdit(const QString& text, QWidget* parent);

  // Appends `text` at the end, whatever is selected, without undo; texts go in in the order
  // given, and the caret follows them into view. The box keeps the text until it is all in.
  void AppendText(std::u16string text);
  // Runs `done` once every text appended before it is in; at once when none is on its way.
  void WhenAppended(std::function<void()> done);
  bool Appending() const { return !m_pending.empty(); }

  // Replaces the whole text; what was still on its way is dropped, and what waited for it runs.
  void SetText(std::u16string text);
  void Clear();

  // The text as it stands once every append is in, each line break as CR LF.
  QString Text() const;

 protected:
  QMimeData* createMimeDataFromSelection() const override;

 private:
  struct Pending {
    std::u16string m_text;
    std::function<void()> m_done;  // set on the markers WhenAppended queues
  };

  void ScheduleTurn();
  void AppendForAWhile();
  void InsertAtEnd(const QString& slice);
  void CutLongLastBlock();
  void OnContentsChange(int position, int removed, int added);
  // The document's characters in [from, to) without the box's own cuts.
  QString RawText(int from, int to) const;

  std::deque<Pending> m_pending;
  std::size_t m_offset = 0;  // of m_pending.front().m_text already in
  bool m_turn_due = false;
  std::vector<int> m_cuts;  // positions of the block separators the box put in, ascending
};
