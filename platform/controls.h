// Every window control kind, for code that uses several, and what each wraps:
//
//   Control      one child window: text, visible, enabled, place in twips
//   Form         a top-level window of the program's class "TavrikForm"
//   Button       "BUTTON", BS_PUSHBUTTON
//   CheckBox     "BUTTON", BS_3STATE (CheckState: unchecked, checked, indeterminate)
//   RadioButton  "BUTTON", BS_AUTORADIOBUTTON, grouped by WS_GROUP
//   GroupBox     "BUTTON", BS_GROUPBOX
//   Panel        the program's class "TavrikPanel": clips and moves its children
//   Label        "STATIC"
//   Line         "STATIC", one pixel high or wide, in the scheme's text colour
//   Link         the program's class "TavrikLink": a focusable label that opens on Enter
//   Image        the program's class "TavrikPicture": a resource picture at the window's DPI
//   TextBox      "EDIT", ES_AUTOHSCROLL
//   TimePicker   DATETIMEPICK_CLASSW, DTS_TIMEFORMAT: hours and minutes
//   ProgressBar  PROGRESS_CLASSW (msctls_progress32)
//   ScrollBar    "SCROLLBAR", SBS_VERT
//   MenuItem     an entry of a menu (HMENU), by command or by place
//   Timer        SetTimer on its owner's window
//   Taskbar      ITaskbarList3 and FlashWindowEx for the window's taskbar button
#pragma once

#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/control.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/line.h"
#include "platform/link.h"
#include "platform/menu_item.h"
#include "platform/message_loop.h"
#include "platform/panel.h"
#include "platform/program.h"
#include "platform/progress_bar.h"
#include "platform/radio_button.h"
#include "platform/scroll_bar.h"
#include "platform/taskbar.h"
#include "platform/text_box.h"
#include "platform/time_picker.h"
#include "platform/timer.h"
