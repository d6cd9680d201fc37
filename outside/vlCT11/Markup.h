// The formatted text of the library's static control: segments separated by '~', each starting
// with a code.
//
//   .t:<text>    plain text
//   .tb:<text>   bold text
//   .xi          end marker: nothing after it is shown
//
// A segment without a leading code is plain text; segments with another code show nothing.
#pragma once

#include <string>
#include <vector>

struct MarkupSegment {
    enum class Style { Plain, Bold };
    Style style;
    std::string text;

    bool operator==(const MarkupSegment&) const = default;
};

// The segments to show, in order, up to the end marker. Segments with empty text are dropped.
std::vector<MarkupSegment> ParseMarkup(const char* text);
