#pragma once

// The UI toolkit: controls, windows and the toolkit that makes them.
#include "platform/ui/Control.h"
#include "platform/ui/Toolkit.h"
#include "platform/ui/Window.h"
