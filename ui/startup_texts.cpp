#include "ui/startup_texts.h"

#include "ui/language_index.h"

namespace astro {
namespace {

// Windows-1252 bytes, indexed by language: English, German, French, Spanish, Italian.
constexpr MessageBoxTexts kAlreadyRunning[kLanguageCount] = {
    {"Astrolab/AIRCAP driver is already active.\nYou need not to start it a second time.",
     "Astrolab/AIRCAP"},
    {"Der AIRCAP Treiber ist schon gestartet.", "AIRCAP"},
    {"AIRCAP driver est d\xE9j\xE0 activ\xE9"
     "e!",
     "AIRCAP"},
    {"AIRCAP driver ya est\xE1 activado!", "AIRCAP"},
    {"AIRCAP driver attivo.\n Non necessario lanciarlo di nuovo!", "AIRCAP"},
};

constexpr int kMainMenus[kLanguageCount] = {168, 170, 169, 116, 171};

}  // namespace

MessageBoxTexts AlreadyRunningTexts(std::int32_t language) {
  return kAlreadyRunning[LanguageIndex(language)];
}

const char* ProductTitle(std::int32_t language) {
  return LanguageIndex(language) != 0 ? "AIRCAP 3D Controller" : "Astrolab/AIRCAP 3D Controller";
}

int MainMenuResource(std::int32_t language) {
  return kMainMenus[LanguageIndex(language)];
}

}  // namespace astro
