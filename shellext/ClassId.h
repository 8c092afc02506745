#pragma once

#include "platform/Com.h"

namespace shellext {

// The class of the shell extension: {9866CE29-2D30-4D9C-B876-806D79F7959F}.
inline constexpr com::GUID CLSID_ShellView{
    0x9866CE29, 0x2D30, 0x4D9C, {0xB8, 0x76, 0x80, 0x6D, 0x79, 0xF7, 0x95, 0x9F}};

} // namespace shellext
