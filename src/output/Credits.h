#pragma once

// Who made the program, as the exported files name them.
namespace output::credits {
constexpr const char* Product = "Reefbook";
constexpr const char* Makers = "the Reefbook developers";
constexpr const char* Year = "2026";
constexpr const char* Address = "https://reefbook.example.org/";
} // namespace output::credits
