// Answers the user asked not to be asked for again ("Diese Meldung nicht mehr anzeigen"), per
// answer key, kept for the user in the registry: HKEY_CURRENT_USER\Software\velmar\vlCT11\Answers,
// one REG_DWORD value per key (the value's name is the key, its data the button id).
#pragma once

#include <optional>
#include <string>

namespace RememberedAnswers {

inline constexpr char kRegistryKey[] = "Software\\velmar\\vlCT11\\Answers";

// The remembered answer of the key; nothing for an empty key, an unknown one or a value that is
// not a REG_DWORD.
std::optional<int> Find(const std::string& key);
// Remembers the answer; false when the registry refuses it (nothing is kept for an empty key).
bool Store(const std::string& key, int answer);

} // namespace RememberedAnswers
