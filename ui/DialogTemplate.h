#pragma once

// Dialog template 129: the main dialog's caption, size and its 25 controls, in creation order,
// which is also the tab order. Positions and sizes are in dialog units (see DialogUnits.h).

#include <array>

enum class ControlClass { Button, Edit, Static, ListView };

// The template's control styles. A Button is a check box with AutoCheckBox and a push button
// otherwise. AutoHScroll, AutoVScroll, Group and AlignLeft are kept for a faithful template but
// change nothing here: Qt's edits follow the caret by themselves, and this dialog has neither
// radio groups nor icons.
enum ControlStyle : unsigned {
  TabStop = 1u << 0,
  Group = 1u << 1,
  PushButton = 1u << 2,
  DefaultButton = 1u << 3,
  AutoCheckBox = 1u << 4,
  MultiLine = 1u << 5,
  AutoHScroll = 1u << 6,
  AutoVScroll = 1u << 7,
  VScroll = 1u << 8,
  Border = 1u << 9,
  CentredText = 1u << 10,
  RightText = 1u << 11,
  ReportView = 1u << 12,
  AlignLeft = 1u << 13,
  OwnerDraw = 1u << 14,
};

struct DialogRect {
  int m_x;
  int m_y;
  int m_cx;
  int m_cy;
};

struct ControlTemplate {
  int m_id;
  ControlClass m_class;
  const char* m_text;  // UTF-8
  DialogRect m_rect;
  unsigned m_style;  // ControlStyle bits
};

inline constexpr const char* kDialogCaption = "pagetap";
// The template's font: the desktop's dialog font family at this size.
inline constexpr int kDialogPointSize = 8;
inline constexpr int kDialogWidth = 707;   // dialog units
inline constexpr int kDialogHeight = 315;  // dialog units

extern const std::array<ControlTemplate, 25> kDialogControls;
