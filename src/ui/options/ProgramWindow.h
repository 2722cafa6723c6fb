#pragma once

#include "platform/Ui.h"

namespace kestrum {

// The window a start shows; the process lives while it is loaded.
class ProgramWindow {
  public:
    virtual ~ProgramWindow() = default;
    virtual void Show() = 0;
    virtual IWindow& window() = 0;
};

}  // namespace kestrum
