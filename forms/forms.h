// The form runtime in one include, for the program's windows.
#pragma once

#include "forms/attach_control.h"
#include "forms/client_size.h"
#include "forms/control_access.h"
#include "forms/font_cache.h"
#include "forms/form_class.h"
#include "forms/form_data.h"
#include "forms/form_description.h"
#include "forms/form_state.h"
#include "forms/show_form.h"
#include "forms/tags.h"
