// The text measure for UTF-8: display columns (wide characters two, combining
// marks none), grapheme clusters kept whole, and line breaks between
// Chinese or Japanese characters where the Unicode line-breaking rules allow.
#pragma once

#include "engine/TextMeasure.h"

const TextMeasure& Utf8Measure();
