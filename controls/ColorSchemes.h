#pragma once

#include "controls/GradButtonTypes.h"

#include <optional>

// The colour that a scheme gives to a colour property; none for csCustom and for the gradient
// ends of the schemes without a gradient, which keep their colours.
std::optional<TColor> SchemeColor(TColorScheme scheme, TColorIndex index);

// The csNeo schemes draw a gradient, the others a flat face.
constexpr bool SchemeHasGradient(TColorScheme scheme)
{
    return scheme <= csNeoSun;
}
