#include "ui/startup_texts.h"

namespace astro {
namespace {

constexpr int kLanguageCount = 5;

bool KnownLanguage(std::int32_t language) {
  return language >= 0 && language < kLanguageCount;
}

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
  return kAlreadyRunning[KnownLanguage(language) ? language : 0];
}

const char* ProductTitle(std::int32_t language) {
  return KnownLanguage(language) && language != 0 ? "AIRCAP 3D Controller"
                                                  : "Astrolab/AIRCAP 3D Controller";
}

int MainMenuResource(std::int32_t language) {
  return kMainMenus[KnownLanguage(language) ? language : 0];
}

}  // namespace astro
