#pragma once

// The form and control model: windows as plain data that the logic reads and
// writes, and that a view renders and feeds with the user's actions.
#include "platform/forms/buttons.h"
#include "platform/forms/check_box.h"
#include "platform/forms/control.h"
#include "platform/forms/form.h"
#include "platform/forms/frame.h"
#include "platform/forms/image.h"
#include "platform/forms/label.h"
#include "platform/forms/list_box.h"
#include "platform/forms/text_box.h"
