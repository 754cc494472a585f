#include "ui/language_titles.h"

#include "ui/language_index.h"

namespace astro {

const char* LanguageDialogTitle(std::int32_t language) {
  // Windows-1252 bytes.
  static constexpr const char* kTitles[kLanguageCount] = {
      "Language Selection", "Sprachenauswahl", "S\xE9lection de langue",
      "Selecci\xF3n de lengua", "Scelta idioma"};
  return kTitles[LanguageIndex(language)];
}

}  // namespace astro
