// The program's string resources: the captions of the title bar's system
// menu. UTF-8; "&" marks the access key.
#pragma once

#include <array>
#include <string_view>

namespace quenby {

inline constexpr std::string_view SK_TITLE_MENUITEM_MINIMIZE = "最小化(&N)";
inline constexpr std::string_view SK_TITLE_MENUITEM_MAXIMIZE = "最大化/还原(&X)";
inline constexpr std::string_view SK_TITLE_MENUITEM_CLOSE = "关闭(&C)";

struct StringResource {
    std::string_view name;
    std::string_view text;
};

inline constexpr std::array<StringResource, 3> kStringResources{{
    {"SK_TITLE_MENUITEM_MINIMIZE", SK_TITLE_MENUITEM_MINIMIZE},
    {"SK_TITLE_MENUITEM_MAXIMIZE", SK_TITLE_MENUITEM_MAXIMIZE},
    {"SK_TITLE_MENUITEM_CLOSE", SK_TITLE_MENUITEM_CLOSE},
}};

// The text of the named string resource; empty for a name the program does
// not carry.
constexpr std::string_view FindStringResource(std::string_view name) {
    for (const StringResource& s : kStringResources) {
        if (s.name == name) {
            return s.text;
        }
    }
    return {};
}

} // namespace quenby
