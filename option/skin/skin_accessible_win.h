// What the skinned controls tell a screen reader. Each control answers
// WM_GETOBJECT (OBJID_CLIENT) with a small accessible object built from the
// facts it holds now: its name (the caption or hint text it got from the
// skin and the language library, never a picture's file name), role, state
// and value. Location, parent and navigation come from the system's
// standard object for the window.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <cstdint>
#include <string>
#include <vector>

#include "option/skin/accessible_text.h"

namespace skin {

struct AccessibleFacts {
    std::string name;
    long role = 0;            // ROLE_SYSTEM_x
    long state = 0;           // STATE_SYSTEM_x bits of the control's own kind
    std::string value;        // "" for none
    std::string description;  // "" for none (a slider's range)
    // A list box's items by what they read as; they are its children 1..n,
    // whose selection, focus and place the list box itself tells.
    std::vector<std::string> items;
};

// The answer to WM_GETOBJECT (OBJID_CLIENT) for `control`: an object with
// `facts`; 0 (the system's own object) when it cannot be made. Focusable,
// focused, unavailable and invisible are added from the window itself.
LRESULT AnswerAccessible(HWND control, WPARAM flags, const AccessibleFacts& facts);

// A colour spectrum that the arrows pick from: a slider whose value is the
// colour picked ("red 255, green 0, blue 0").
AccessibleFacts ColorSpectrumFacts(const std::string& name, std::uint32_t color);

// A slider: its position and range, spoken in `unit`.
AccessibleFacts SliderFacts(const std::string& name, int position, int minimum, int maximum,
                            const ValueUnit& unit);

// Tells screen readers that `control`'s value changed.
void NotifyValueChanged(HWND control);

// Tells screen readers that `control`'s state (checked, selected, pressed)
// changed.
void NotifyStateChanged(HWND control);

}  // namespace skin
