#pragma once
// A platform header that reaches up into the session: the configure step must refuse it.
#include "session/tool_session.h"
