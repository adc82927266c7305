#pragma once
// The spelling engine: Hunspell with a lexicon of the Dictionaries folder and the user's own
// dictionary (one word per line, UTF-8). The lexicon is unpacked into a work folder once and
// loaded once per run; every message window gets its own engine on top of it, so "Ignore All"
// stays with its window while added words reach every window opened afterwards.
#include <memory>
#include <string>

#include "window/spell_checker.h"

namespace pagelark {

// nullptr when the lexicon is missing or damaged or its parts cannot be written into
// `workFolder` (which must exist; Hunspell opens files by narrow path, so keep it ASCII).
std::unique_ptr<SpellEngine> CreateHunspellEngine(const std::string& lexiconPath, const std::string& workFolder);

}  // namespace pagelark
