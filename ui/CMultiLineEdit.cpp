#include "ui/CMultiLineEdit.h"

#include <QElapsedTimer>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace {

// One turn of the event loop inserts slices for about this long, then lets input and painting
// in. A slice is small enough to lay out in a few milliseconds.
constexpr qint64 kTurnMs = 12;
constexpr std::size_t kSliceChars = 8 * 1024;
// A block longer than this is cut at the start of its last wrapped line.
constexpr int kLongBlockChars = 8 * 1024;

constexpr QChar kBeginningOfFrame(0xFDD0);
constexpr QChar kEndOfFrame(0xFDD1);

// Where a slice of `text` from `from` ends: never between CR and LF, which go in as one line
// break only together, nor between the two halves of a surrogate pair.
std::size_t SliceEnd(const std::u16string& text, std::size_t from) {
  std::size_t end = std::min(text.size(), from + kSliceChars);
  if (end == text.size() || end <= from + 1) return end;
  const bool line_break = text[end - 1] == u'\r' && text[end] == u'\n';
  if (line_break || QChar::isLowSurrogate(text[end])) --end;
  return end;
}

QString Slice(const std::u16string& text, std::size_t from, std::size_t to) {
  return QString(reinterpret_cast<const QChar*>(text.data() + from),
                 static_cast<qsizetype>(to - from));
}

// The text as the document will hold it, each line break as CR LF: CR LF, a lone CR or LF, a
// paragraph separator and the frame marks each make one line break.
QString WithLineBreaks(QStringView text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    const bool line_break = c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator ||
                            c == kBeginningOfFrame || c == kEndOfFrame;
    if (line_break) {
      out += QStringLiteral("\r\n");
    } else {
      out += c;
    }
  }
  return out;
}

// What a copy of plain text gives, as Qt's own copy does.
QString AsPlainText(QString text) {
  for (QChar& c : text) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == kBeginningOfFrame ||
        c == kEndOfFrame) {
      c = u'\n';
    } else if (c == QChar::Nbsp) {
      c = u' ';
    }
  }
  return text;
}

}  // namespace

CMultiLineEdit::CMultiLineEdit(const QString& text, QWidget* parent) : QPlainTextEdit(parent) {
  setWordWrapMode(QTextOption::WrapAnywhere);
  connect(document(), &QTextDocument::contentsChange, this, &CMultiLineEdit::OnContentsChange);
  SetText(text.toStdU16String());
}

void CMultiLineEdit::AppendText(std::u16string text) {
  if (text.empty()) return;
  m_pending.push_back({std::move(text), nullptr});
  // A short text goes in at once; a long one goes on in later turns.
  if (m_pending.size() == 1) AppendForAWhile();
}

void CMultiLineEdit::WhenAppended(std::function<void()> done) {
  if (m_pending.empty()) {
    done();
    return;
  }
  m_pending.push_back({std::u16string(), std::move(done)});
}

void CMultiLineEdit::SetText(std::u16string text) {
  std::deque<Pending> dropped;
  dropped.swap(m_pending);
  m_offset = 0;
  m_cuts.clear();
  clear();
  AppendText(std::move(text));
  // What waited for the dropped texts runs now, in order.
  for (Pending& pending : dropped) {
    if (pending.m_done) pending.m_done();
  }
}

void CMultiLineEdit::Clear() { SetText(std::u16string()); }

QString CMultiLineEdit::Text() const {
  QString text = WithLineBreaks(RawText(0, document()->characterCount() - 1));
  for (const Pending& pending : m_pending) {
    const std::size_t from = &pending == &m_pending.front() ? m_offset : 0;
    text += WithLineBreaks(Slice(pending.m_text, from, pending.m_text.size()));
  }
  return text;
}

QMimeData* CMultiLineEdit::createMimeDataFromSelection() const {
  const QTextCursor selection = textCursor();
  const int from = selection.selectionStart();
  const int to = selection.selectionEnd();
  const auto cut = std::lower_bound(m_cuts.begin(), m_cuts.end(), from);
  if (cut == m_cuts.end() || *cut >= to) return QPlainTextEdit::createMimeDataFromSelection();
  auto* copied = new QMimeData;
  copied->setText(AsPlainText(RawText(from, to)));
  return copied;
}

void CMultiLineEdit::ScheduleTurn() {
  if (m_turn_due) return;
  m_turn_due = true;
  QTimer::singleShot(0, this, &CMultiLineEdit::AppendForAWhile);
}

void CMultiLineEdit::AppendForAWhile() {
  m_turn_due = false;
  QElapsedTimer clock;
  clock.start();
  // Appended text can't be undone, and the undo history goes with it.
  setUndoRedoEnabled(false);
  bool inserted = false;
  while (!m_pending.empty() && clock.elapsed() < kTurnMs) {
    Pending& front = m_pending.front();
    if (front.m_done) {
      auto done = std::move(front.m_done);
      m_pending.pop_front();
      done();  // may append or clear again
      continue;
    }
    const std::size_t end = SliceEnd(front.m_text, m_offset);
    InsertAtEnd(Slice(front.m_text, m_offset, end));
    inserted = true;
    m_offset = end;
    if (m_offset == front.m_text.size()) {
      m_pending.pop_front();
      m_offset = 0;
    }
  }
  setUndoRedoEnabled(true);
  if (inserted) {
    QTextCursor end(document());
    end.movePosition(QTextCursor::End);
    setTextCursor(end);
    ensureCursorVisible();
  }
  if (!m_pending.empty()) ScheduleTurn();
}

void CMultiLineEdit::InsertAtEnd(const QString& slice) {
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(slice);
  CutLongLastBlock();
}

// The last wrapped line moves to a block of its own, so the lines before it stay where the
// box's width put them. Without a usable layout (a box never shown) the cut goes halfway.
void CMultiLineEdit::CutLongLastBlock() {
  auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document()->documentLayout());
  QTextBlock last = document()->lastBlock();
  while (layout && last.length() > kLongBlockChars) {
    layout->ensureBlockLayout(last);
    const QTextLayout* lines = last.layout();
    int at = lines->lineCount() > 1 ? lines->lineAt(lines->lineCount() - 1).textStart() : 0;
    if (at <= 0) {
      at = kLongBlockChars / 2;
      if (last.text()[at].isLowSurrogate()) --at;
    }
    const int position = last.position() + at;
    QTextCursor cut(document());
    cut.setPosition(position);
    cut.insertBlock();
    m_cuts.push_back(position);
    last = document()->lastBlock();
  }
}

// Keeps the cuts on the separators they stand for while the text changes, by the box or by
// the user. A change that removes and adds as many characters may only have changed formats.
void CMultiLineEdit::OnContentsChange(int position, int removed, int added) {
  auto first = std::lower_bound(m_cuts.begin(), m_cuts.end(), position);
  auto after = std::lower_bound(first, m_cuts.end(), position + removed);
  if (removed == added) {
    first = std::remove_if(first, after, [this](int cut) {
      return document()->characterAt(cut) != QChar::ParagraphSeparator;
    });
    m_cuts.erase(first, after);
    return;
  }
  after = m_cuts.erase(first, after);
  for (auto cut = after; cut != m_cuts.end(); ++cut) *cut += added - removed;
}

QString CMultiLineEdit::RawText(int from, int to) const {
  QTextCursor range(document());
  range.setPosition(from);
  range.setPosition(to, QTextCursor::KeepAnchor);
  QString text = range.selectedText();
  // The cuts inside the range, from the last, so the earlier offsets stay right.
  const auto first = std::lower_bound(m_cuts.begin(), m_cuts.end(), from);
  const auto after = std::lower_bound(first, m_cuts.end(), to);
  for (auto cut = after; cut != first;) {
    --cut;
    text.remove(*cut - from, 1);
  }
  return text;
}
