// The namespace address of the ORV data format, as the output copy writes it
// on its root line and as the catalogue text of WS102 quotes it. The host is
// one constant so that the two never disagree.
#pragma once

#include <array>

#include "src/xml/cp1250.h"

namespace quelt {

inline constexpr std::array<char, 16> kNamespaceHost = std::to_array("www.orv.example");
inline constexpr auto kNamespaceUri =
    concat(std::to_array("http://"), kNamespaceHost, std::to_array("/schemas/2004/ORV/1.6/"));

}  // namespace quelt
