#include "ui/Controls.h"

#include "ui/CFileObjLooker.h"
#include "ui/CMultiLineEdit.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTreeWidget>

namespace {

constexpr const char* kIdProperty = "controlId";

QWidget* CreateButton(const ControlTemplate& control, QWidget* dialog) {
  const QString text = QString::fromUtf8(control.m_text);
  if (control.m_style & AutoCheckBox) return new QCheckBox(text, dialog);
  auto* button = new QPushButton(text, dialog);
  button->setAutoDefault(false);
  button->setDefault((control.m_style & DefaultButton) != 0);
  return button;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget* dialog) {
  const QString text = QString::fromUtf8(control.m_text);
  if (!(control.m_style & MultiLine)) {
    auto* edit = new QLineEdit(text, dialog);
    edit->setFrame((control.m_style & Border) != 0);
    return edit;
  }
  // A multi-line edit without a horizontal scroll bar wraps its lines. Tab and Enter belong
  // to the dialog, as in any dialog box.
  auto* edit = new CMultiLineEdit(text, dialog);
  edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  edit->setTabChangesFocus(true);
  edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  edit->setVerticalScrollBarPolicy((control.m_style & VScroll) ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAsNeeded);
  if (!(control.m_style & Border)) edit->setFrameShape(QFrame::NoFrame);
  return edit;
}

QWidget* CreateStatic(const ControlTemplate& control, QWidget* dialog) {
  if (control.m_style & OwnerDraw) return new CFileObjLooker(dialog);
  auto* label = new QLabel(QString::fromUtf8(control.m_text), dialog);
  // Static text sits at the top of its rectangle.
  Qt::Alignment horizontal = Qt::AlignLeft;
  if (control.m_style & CentredText) horizontal = Qt::AlignHCenter;
  if (control.m_style & RightText) horizontal = Qt::AlignRight;
  label->setAlignment(horizontal | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  return label;
}

// The list's header. Qt measures every header section in bold, for headers that draw the
// sections of selected columns in bold; this one never does, so it is measured in the font it
// is drawn in. That spares the window loading the bold faces of its fonts, some megabytes of
// them for the Chinese captions, at start.
class ListHeader : public QHeaderView {
 public:
  explicit ListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

 protected:
  QSize sectionSizeFromContents(int logical_index) const override {
    QStyleOptionHeader option;
    initStyleOption(&option);
    option.section = logical_index;
    option.text = model()->headerData(logical_index, orientation(), Qt::DisplayRole).toString();
    return style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), this);
  }
};

// A report view: one row per entry, never sorted, several rows selectable at once.
QWidget* CreateListView(const ControlTemplate& control, QWidget* dialog) {
  auto* list = new QTreeWidget(dialog);
  list->setHeader(new ListHeader(list));
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setSortingEnabled(false);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setHeaderHidden(!(control.m_style & ReportView));
  list->header()->setStretchLastSection(false);
  list->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  list->header()->setSectionsMovable(false);
  if (!(control.m_style & Border)) list->setFrameShape(QFrame::NoFrame);
  return list;
}

}  // namespace

QWidget* CreateControl(const ControlTemplate& control, QWidget* dialog, DialogBaseUnits units) {
  QWidget* widget = nullptr;
  switch (control.m_class) {
    case ControlClass::Button:
      widget = CreateButton(control, dialog);
      break;
    case ControlClass::Edit:
      widget = CreateEdit(control, dialog);
      break;
    case ControlClass::Static:
      widget = CreateStatic(control, dialog);
      break;
    case ControlClass::ListView:
      widget = CreateListView(control, dialog);
      break;
  }
  widget->setProperty(kIdProperty, control.m_id);
  widget->setGeometry(MapDialogRect(control.m_rect, units));
  // Tab stops take the focus from the keyboard; the other controls only from a click.
  if (control.m_style & TabStop) {
    widget->setFocusPolicy(Qt::StrongFocus);
  } else if (widget->focusPolicy() != Qt::NoFocus) {
    widget->setFocusPolicy(Qt::ClickFocus);
  }
  return widget;
}

int ControlId(const QWidget* widget) { return widget->property(kIdProperty).toInt(); }
