#pragma once

#include "Records.h"

namespace store {

// JSON key names of the dump/load format, in the order dump writes them; the dive list and
// `reefbook-cli list` name their columns by them too. The index in each table is the element
// index in the record's array.
namespace jsonkeys {

inline constexpr const char* Date[3] = {"month", "day", "year"}; // TimeData 0-2
inline constexpr const char* Clock[2] = {"hour", "minute"};      // TimeData 3-4 and 5-6
inline constexpr const char* DiveData[10] = {"psiIn",    "psiOut",     "tankSize",
                                             "bottomTime", "maxDepth", "weight",
                                             "airTemp",  "surfaceTemp", "bottomTemp",
                                             "visibility"};
inline constexpr const char* ListData[4] = {"location", "type", "buddy", "gear"};
// The condition names (field::ConditionNames) as JSON spells keys: in lower case.
inline constexpr const char* Conditions[8] = {"freshwater", "saltwater", "boat", "shore",
                                              "waves",      "current",   "surf", "surge"};
constexpr bool lowerCaseOf(const char* const (&names)[8]) {
    for (size_t k = 0; k < 8; ++k) {
        const char* lower = names[k];
        const char* name = field::ConditionNames[k];
        for (; *name; ++name, ++lower)
            if (*lower != (*name >= 'A' && *name <= 'Z' ? *name + ('a' - 'A') : *name))
                return false;
        if (*lower) return false;
    }
    return true;
}
static_assert(lowerCaseOf(Conditions), "the JSON keys are the condition names in lower case");
inline constexpr const char* Lists[4] = {"locations", "types", "buddies", "gear"};

} // namespace jsonkeys

} // namespace store
