#pragma once
// A session header that uses the layers below it: allowed.
#include "platform/bytes.h"
#include "protocol/frame.h"
#include "session/exchange.h"
