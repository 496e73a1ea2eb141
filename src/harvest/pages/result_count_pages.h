#pragma once
// The three search engines' requests and the cuts that find the number of results in their pages. Plain C++;
// the harvest loop that fetches and writes the cells is the harvest library's.
#include <array>
#include <string>
#include <string_view>

namespace dorvanel::pages {

enum class Engine { Google, Yahoo, Msn };
inline constexpr std::array<Engine, 3> kEngines = {Engine::Google, Engine::Yahoo, Engine::Msn};  // asking order

// The values of the main window's search type.
enum class SearchType { Precise = 0, Broad = 1 };

// The origin, the engine's path and query key, then the keyword form-encoded (a blank as "+", every byte
// outside letters, digits and "*-._" as %XX), between "%22" on both sides for a precise search.
//   Google "/search?q=", Yahoo "/search?p=", MSN "/results.aspx?q="
std::string ResultCountAddress(Engine engine, std::string_view host, std::string_view keyword, SearchType type);
// The query part of that address after the key: the keyword encoded, in "%22" for a precise search.
std::string EngineQuery(std::string_view keyword, SearchType type);

// The count exactly as the page writes it, neither cleaned nor trimmed; empty when a marker is missing.
//   Google: "<font size=-1>Results" to "of about <b>" (dropped), then "of about <b>" to "</b>"
//   Yahoo:  "<span id="infototal">" to "</span>"
//   MSN:    "<span id="count">" to " of " (dropped), then " of " to "</span>"
std::string CutResultCount(Engine engine, std::string page);

// The keyword row's cell the engine's count goes into: 2, 3 and 4 (the columns "Google", "Yahoo", "Msn").
int ResultCountCell(Engine engine);
// The engine's name as its column's caption writes it.
std::string_view EngineName(Engine engine);

}  // namespace dorvanel::pages
