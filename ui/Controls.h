#pragma once

// Makes one of the dialog's controls from its template entry: the Qt widget that stands for
// the template's class and styles, placed and sized in pixels, carrying its control id.

#include "ui/DialogTemplate.h"
#include "ui/DialogUnits.h"

class QWidget;

QWidget* CreateControl(const ControlTemplate& control, QWidget* dialog, DialogBaseUnits units);

// The id a control was made with; 0 for a widget that is not one of the dialog's controls.
int ControlId(const QWidget* widget);
