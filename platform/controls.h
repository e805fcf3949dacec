// Every window control kind, for code that uses several.
#pragma once

#include "platform/button.h"
#include "platform/check_box.h"
#include "platform/control.h"
#include "platform/form.h"
#include "platform/image.h"
#include "platform/label.h"
#include "platform/line.h"
#include "platform/menu_item.h"
#include "platform/message_loop.h"
#include "platform/panel.h"
#include "platform/program.h"
#include "platform/progress_bar.h"
#include "platform/scroll_bar.h"
#include "platform/text_box.h"
#include "platform/timer.h"
