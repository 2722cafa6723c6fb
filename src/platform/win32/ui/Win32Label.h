#pragma once

#include "platform/win32/ui/Win32Control.h"

namespace kestrum::win32 {

class Win32Label final : public Win32Control, public ILabel {
  public:
    Win32Label(Win32Window& window, const std::string& name, int id, const TwipsRect& where,
               const std::string& caption);
    HBRUSH OnCtlColor(HDC dc) override { return FaceBackground(dc); }
};

}  // namespace kestrum::win32
