#pragma once

// JSON key names of the dump/load format, in the order dump writes them. The index in each
// table is the element index in the record's array.
namespace cli::keys {

inline constexpr const char* Date[3] = {"month", "day", "year"}; // TimeData 0-2
inline constexpr const char* Clock[2] = {"hour", "minute"};      // TimeData 3-4 and 5-6
inline constexpr const char* DiveData[10] = {"psiIn",    "psiOut",     "tankSize",
                                             "bottomTime", "maxDepth", "weight",
                                             "airTemp",  "surfaceTemp", "bottomTemp",
                                             "visibility"};
inline constexpr const char* ListData[4] = {"location", "type", "buddy", "gear"};
inline constexpr const char* Conditions[8] = {"freshwater", "saltwater", "boat", "shore",
                                              "waves",      "current",   "surf", "surge"};
inline constexpr const char* Lists[4] = {"locations", "types", "buddies", "gear"};

} // namespace cli::keys
