// The dialog as built from its template: controls, geometry, tab order and the state after
// initialisation.

#include "tests/ui/DialogFixture.h"
#include "ui/CFileObjLooker.h"
#include "ui/ControlIds.h"
#include "ui/Controls.h"
#include "ui/DialogUnits.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

using pagetap::test::ScopedEnvironment;
using pagetap::test::ShownDialog;

struct ExpectedControl {
  int id;
  const char* kind;
  const char* text;
  DialogRect rect;
};

// Dialog template 129 as the dialog must show it; button 1018 already renamed.
const std::vector<ExpectedControl> kExpected = {
    {1, "push", "ReturnList", {73, 139, 40, 14}},
    {2, "push", "Cancel", {73, 279, 50, 14}},
    {57664, "push", "&CLEAR", {159, 273, 42, 17}},
    {1000, "push", "GET", {6, 268, 42, 17}},
    {1001, "text box", "", {3, 158, 212, 104}},
    {1002, "line", "", {38, 4, 175, 14}},
    {1003, "line", "", {38, 36, 175, 14}},
    {1004, "check", "Debug", {6, 114, 32, 10}},
    {1005, "check", "Head", {43, 114, 35, 10}},
    {-1, "label", "URL", {4, 7, 30, 14}},
    {-1, "label", "Referer", {5, 38, 30, 14}},
    {-1, "label", "PostData", {2, 77, 30, 14}},
    {1006, "text box", "", {38, 71, 175, 42}},
    {1007, "push", "uPaste", {70, 20, 28, 14}},
    {1008, "push", "rPaste", {39, 54, 28, 14}},
    {1009, "push", "pPaste", {132, 54, 28, 14}},
    {1010, "push", "pClear", {173, 54, 28, 14}},
    {1011, "push", "rClear", {75, 54, 28, 14}},
    {1012, "push", "uClear", {106, 20, 28, 14}},
    {1013, "check", "SendCookie", {6, 127, 53, 10}},
    {1014, "check", "SaveCookie", {6, 140, 53, 10}},
    {1015, "push", "POST", {7, 289, 42, 17}},
    {1016, "list", "", {217, 2, 136, 307}},
    {1017, "picture", "", {357, 6, 344, 161}},
    {1018, "push", "本周最热视频", {136, 131, 75, 20}},
};

std::string Kind(QWidget* widget) {
  if (qobject_cast<QCheckBox*>(widget)) return "check";
  if (qobject_cast<QPushButton*>(widget)) return "push";
  if (qobject_cast<QLineEdit*>(widget)) return "line";
  if (qobject_cast<QPlainTextEdit*>(widget)) return "text box";
  if (qobject_cast<QLabel*>(widget)) return "label";
  if (qobject_cast<QTreeWidget*>(widget)) return "list";
  if (qobject_cast<CFileObjLooker*>(widget)) return "picture";
  return "other";
}

QString Text(QWidget* widget) {
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* line = qobject_cast<QLineEdit*>(widget)) return line->text();
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  return {};
}

std::vector<QWidget*> Controls(CMainDlg& dialog) {
  std::vector<QWidget*> controls;
  for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (ControlId(child) != 0) controls.push_back(child);
  }
  return controls;
}

const char* const kUsageText =
    "使用方法:\n\n点击本周最热视频,取得用户列。\n\n单击用户名可显示获得的用户图片。\n\n"
    "取得列表后可以双击用户名获得用户详细列表。";

}  // namespace

TEST(DialogUnits, ConvertEachValueWithTheFontsBaseUnitsRoundingToNearest) {
  // The familiar 8 point dialog font: 6 by 13 pixels.
  const DialogBaseUnits shell{6, 13};
  EXPECT_EQ(MapDialogRect({73, 139, 40, 14}, shell), QRect(110, 226, 60, 23));
  EXPECT_EQ(MapDialogRect({357, 6, 344, 161}, shell), QRect(536, 10, 516, 262));
  EXPECT_EQ(DialogUnitsToPixelsX(707, shell), 1061);
  EXPECT_EQ(DialogUnitsToPixelsY(315, shell), 512);
  const DialogBaseUnits wide{7, 14};
  EXPECT_EQ(MapDialogRect({217, 2, 136, 307}, wide), QRect(380, 4, 238, 537));

  for (const QFont& font : {QApplication::font(), QFont(QStringLiteral("DejaVu Sans"), 12)}) {
    const QFontMetrics metrics(font);
    const DialogBaseUnits units = BaseUnitsOf(font);
    const int letters = metrics.horizontalAdvance(
        QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(units.m_cx, std::lround(letters / 52.0));
    EXPECT_EQ(units.m_cy, metrics.height());
  }
}

TEST_F(ShownDialog, BuildsTheTemplatesControlsInOrderAtTheirPixelPlaces) {
  const DialogBaseUnits units = BaseUnitsOf(m_dialog.font());
  const std::vector<QWidget*> controls = Controls(m_dialog);
  ASSERT_EQ(controls.size(), kExpected.size());
  for (std::size_t i = 0; i < controls.size(); ++i) {
    SCOPED_TRACE("control #" + std::to_string(i + 1));
    const ExpectedControl& expected = kExpected[i];
    EXPECT_EQ(ControlId(controls[i]), expected.id);
    EXPECT_EQ(Kind(controls[i]), expected.kind);
    EXPECT_EQ(Text(controls[i]), QString::fromUtf8(expected.text));
    EXPECT_EQ(controls[i]->geometry(), MapDialogRect(expected.rect, units));
    EXPECT_TRUE(controls[i]->isVisible());
  }
  EXPECT_EQ(m_dialog.GetDlgItem(IDC_STATIC), controls[9]);
  EXPECT_EQ(m_dialog.GetDlgItem(4242), nullptr);

  EXPECT_EQ(m_dialog.size(),
            QSize(DialogUnitsToPixelsX(707, units), DialogUnitsToPixelsY(315, units)));
  EXPECT_EQ(m_dialog.minimumSize(), m_dialog.maximumSize()) << "the dialog is not resizable";
  EXPECT_FALSE(m_dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(m_dialog.windowFlags() & Qt::WindowMinimizeButtonHint);
}

TEST_F(ShownDialog, StartsWithTheUsageTextTheUserColumnsAndTheWorkbenchDisabled) {
  EXPECT_EQ(m_dialog.windowTitle(), "pagetap");
  const QIcon window_icon = WindowIcon();
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QPixmap icon = window_icon.pixmap(size, size);
    ASSERT_FALSE(icon.isNull()) << size;
    EXPECT_EQ(icon.size(), QSize(size, size));
  }
  EXPECT_EQ(Item<QPlainTextEdit>(IDC_RESULT)->toPlainText(), QString::fromUtf8(kUsageText));
  EXPECT_EQ(Item<QPushButton>(IDC_USERINFO)->text(), QString::fromUtf8("本周最热视频"));
  EXPECT_NE(CMainDlgProbe::Catalogue(m_dialog), nullptr);
  EXPECT_EQ(qobject_cast<CFileObjLooker*>(m_dialog.GetDlgItem(IDC_PICTURE))->State(),
            PictureState::None);

  const std::vector<int> disabled = {IDC_GET,  IDC_POST,       IDC_DEBUG,
                                     IDC_HEAD, IDC_SENDCOOKIE, IDC_SAVECOOKIE};
  for (QWidget* control : Controls(m_dialog)) {
    const int id = ControlId(control);
    const bool expect_disabled = std::find(disabled.begin(), disabled.end(), id) != disabled.end();
    EXPECT_EQ(control->isEnabled(), !expect_disabled) << "control " << id;
  }
  for (int id : {IDC_DEBUG, IDC_HEAD, IDC_SENDCOOKIE, IDC_SAVECOOKIE}) {
    EXPECT_FALSE(Item<QCheckBox>(id)->isChecked());
  }

  auto* list = Item<QTreeWidget>(IDC_LIST);
  EXPECT_EQ(list->topLevelItemCount(), 0);
  const QStringList captions = {QString::fromUtf8("  name        "), QString::fromUtf8("大小"),
                                QString::fromUtf8("查看   "),
                                QString::fromUtf8("desc              ")};
  ASSERT_EQ(list->columnCount(), captions.size());
  for (int column = 0; column < captions.size(); ++column) {
    EXPECT_EQ(list->headerItem()->text(column), captions[column]);
    EXPECT_EQ(list->header()->sectionSize(column),
              list->fontMetrics().horizontalAdvance(captions[column]) + 15);
  }
}

TEST(Dialog, WorkbenchSettingStartsWithEveryControlEnabled) {
  for (const char* value : {"1", "0", "yes"}) {
    SCOPED_TRACE(value);
    ScopedEnvironment workbench("PAGETAP_WORKBENCH", value);
    CMainDlg dialog;
    ASSERT_TRUE(dialog.Create());
    const bool enabled = std::string(value) == "1";
    for (int id : {IDC_GET, IDC_POST, IDC_DEBUG, IDC_HEAD, IDC_SENDCOOKIE, IDC_SAVECOOKIE}) {
      EXPECT_EQ(dialog.GetDlgItem(id)->isEnabled(), enabled) << "control " << id;
    }
  }
}

TEST(Dialog, TabWalksTheTabStopsInTemplateOrder) {
  ScopedEnvironment workbench("PAGETAP_WORKBENCH", "1");  // no tab stop disabled
  CMainDlg dialog;
  ASSERT_TRUE(dialog.Create());
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.GetDlgItem(IDOK)->setFocus(Qt::TabFocusReason);

  const std::vector<int> order = {2,    57664, 1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                  1008, 1009,  1010, 1011, 1012, 1013, 1014, 1015, 1018, 1};
  for (int id : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    EXPECT_EQ(ControlId(QApplication::focusWidget()), id);
  }
}

// Saves dialog.png beside the test program, and checks that no text is cut off.
TEST_F(ShownDialog, ScreenshotShowsEveryTextWhole) {
  const QDir folder(QStringLiteral(PAGETAP_SCREENSHOT_DIR));
  ASSERT_TRUE(m_dialog.grab().save(folder.filePath("dialog.png")));
  ASSERT_TRUE(WindowIcon().pixmap(64, 64).save(folder.filePath("icon.png")));

  for (QWidget* control : Controls(m_dialog)) {
    const QFontMetrics metrics = control->fontMetrics();
    const QString text = Text(control).remove('&');
    if (text.isEmpty()) continue;
    SCOPED_TRACE(text.toStdString());
    QStyleOptionButton option;
    option.initFrom(control);
    option.text = text;
    QRect room;
    if (qobject_cast<QCheckBox*>(control)) {
      room = control->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, control);
    } else if (qobject_cast<QPushButton*>(control)) {
      room = control->style()->subElementRect(QStyle::SE_PushButtonContents, &option, control);
    } else {
      room = qobject_cast<QLabel*>(control)->contentsRect();
    }
    EXPECT_GE(room.width(), metrics.horizontalAdvance(text));
    EXPECT_GE(room.height(), metrics.height());
  }

  auto* list = qobject_cast<QTreeWidget*>(m_dialog.GetDlgItem(IDC_LIST));
  for (int column = 0; column < list->columnCount(); ++column) {
    const QString caption = list->headerItem()->text(column).trimmed();
    const int margins = 2 * list->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, list);
    EXPECT_GE(list->header()->sectionSize(column),
              list->header()->fontMetrics().horizontalAdvance(caption) + margins);
  }
}
