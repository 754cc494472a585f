#include "ui/lang_text.h"

#include "ui/language_index.h"

namespace astro {
namespace {

// Id 9 is a row of blanks and id 33 the maker's name; both read the same in
// every language.
constexpr const char kBlanks[] = "                       ";
constexpr const char kMaker[] = "Veltrix";

// One row per text id: English, German, French, Spanish, Italian, and the sixth
// slot (English for ids 1..8, empty otherwise). Windows-1252 bytes; a hex escape
// that would run into a following hex digit is closed by splitting the literal.
// "" is a real (empty) text; nullptr marks a slot without a text.
constexpr const char* kTexts[kLangTextCount][kLangTextSlots] = {
    // 0
    {"Astrolab/AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Einstellungen",
     "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Pannello",
     nullptr},
    // 1
    {"Rotation ON", "Rotation AN", "Rotation ACTIF", "Rotaci\xF3n ACTIVADO", "Rotazione ON",
     "Rotation ON"},
    // 2
    {"Rotation OFF", "Rotation AUS", "Rotation INACTIF", "Rotaci\xF3n DESACTIVADO", "Rotazione OFF",
     "Rotation OFF"},
    // 3
    {"Translation ON", "Translation AN", "Translation ACTIF", "Translaci\xF3n ACTIVADO",
     "Traslazione ON", "Translation ON"},
    // 4
    {"Translation OFF", "Translation AUS", "Translation INACTIF", "Translaci\xF3n DESACTIVADO",
     "Traslazione OFF", "Translation OFF"},
    // 5
    {"Dominant ON", "Dominant AN", "Dominant ACTIF", "Dominante ACTIVADO", "Modo distanza ON",
     "Dominant ON"},
    // 6
    {"Dominant OFF", "Dominant AUS", "Dominant INACTIF", "Dominante DESACTIVADO",
     "Modo distanza OFF", "Dominant OFF"},
    // 7
    {"Hintview ON", "Hintview AN", "Hintview ACTIF", "Hintview ACTIVADO", "Hintview ON",
     "Hintview ON"},
    // 8
    {"Hintview OFF", "Hintview AUS", "Hintview INACTIF", "Hintview DESACTIVADO", "Hintview OFF",
     "Hintview OFF"},
    // 9
    {kBlanks, kBlanks, kBlanks, kBlanks, kBlanks, nullptr},
    // 10
    {"Overall Sensitivity", "Generelle Empfindlichkeit", "Sensibilit\xE9 G\xE9n\xE9rale",
     "Sensibilidad General", "Sensibilit\xE0 Generale", nullptr},
    // 11
    {"Translation Sensitivity", "Translations Empfindlichkeit", "Sensibilit\xE9 de la Translation",
     "Sensibilidad de la Translaci\xF3n", "Traslazione Sensibilit\xE0", nullptr},
    // 12
    {"Rotation Sensitivity", "Rotations Empfindlichkeit", "Sensibilit\xE9 de la Rotation",
     "Sensibilidad de la Rotaci\xF3n", "Rotazione Sensibilit\xE0", nullptr},
    // 13 ("D\xEA" "fault" is spelled so on purpose)
    {"Default Sensitivity", "Voreinstellung",
     "Sensibilit\xE9 D\xEA"
     "fault",
     "Sensibilidad Default", "Sensibilit\xE0 Default", nullptr},
    // 14
    {"Buttons", "Tasten", "Boutons", "Botones", "Tasti", nullptr},
    // 15
    {"3D Modes", "3D Modes", "3D Modes", "3D Modos", "Modi 3D", nullptr},
    // 16
    {"Changeable", "Ver\xE4nderbar", "Variable", "Variable", "Variabile", nullptr},
    // 17
    {"Astrolab/AIRCAP 3D Controller Panel - Button Info",
     "AIRCAP 3D Controller Einstellungen - Tasten Info", "AIRCAP 3D Controller Panel",
     "AIRCAP 3D Controller Panel", "AIRCAP 3D Controller Pannello", nullptr},
    // 18
    {"Do you really want to end the driver?", "Wollen Sie wirklich den Treiber beenden?",
     "Voulez-vous terminer le driver realment?", "\xBFQuiere terminar el driver realmente?", "",
     nullptr},
    // 19
    {"Astrolab/AIRCAP 3D Controller", "AIRCAP 3D Controller", "AIRCAP 3D Controller",
     "AIRCAP 3D Controller", "AIRCAP 3D Controller", nullptr},
    // 20
    {"[Default]", "[Voreinstellung]",
     "[D\xEA"
     "fault]",
     "[Default]", "[Default]", nullptr},
    // 21
    {"Button Window", "Tasten Fenster", "Fen\xEAtre des boutons", "Ventana de los botones", "",
     nullptr},
    // 22
    {"Overall absorbtion", "Generelle D\xE4mpfung",
     "r\xE9"
     "duction g\xE9n\xE9rale",
     "reducci\xF3n general", "", nullptr},
    // 23: unused
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 24
    {"Hintview", "Hintview", "Hintview", "Hintview", "Hintview", nullptr},
    // 25
    {"The beep function which confirms the pressing of individual buttons can be turned on or "
     "off here",
     "Hier k\xF6nnen Sie den Beep zu einem Tastendruck ein- oder ausschalten",
     "Ici vous pouvez activer ou d\xE9sactiver le bip d'un bouton",
     "Aqu\xED puede activar o desactivar el tono de un bot\xF3n", "", nullptr},
    // 26
    {"Here, you can turn the seperate window with button information on or off",
     "Hier k\xF6nnen Sie das unabh\xE4ngige Fenster mit den Tasten Informationen ein- oder "
     "ausschalten",
     "Ici vous pouvez activer ou d\xE9sactiver la fen\xEAtre ind\xE9pendante avec les "
     "informations des boutons",
     "Aqu\xED puede activar o desactivar la ventana independente con las informaciones de los "
     "botones",
     "", nullptr},
    // 27
    {"You can turn on or off the change of mode function here",
     "Hier k\xF6nnen Sie das \xC4ndern des Modes ein- oder ausschalten",
     "Ici vous pouvez activer ou d\xE9sactiver le changement du mode",
     "Aqu\xED puede activar o desactivar el cambio del modo", "", nullptr},
    // 28
    {"At this point, you can allow or forbid the use of the Hintview button",
     "Hier k\xF6nnen Sie die Hintview Taste grunds\xE4tzlich erlauben",
     "Ici vous pouvez permettre g\xE9n\xE9ralement le bouton du Hintview",
     "Aqu\xED puede permitir generalmente el bot\xF3n del Hintview", "", nullptr},
    // 29
    {"This slider is for adjusting the overall absorbtion",
     "Mit diesem Schieber k\xF6nnen Sie die generelle D\xE4mpfung einstellen",
     "Avec ce glissoir vous pouvez r\xE9gler la r\xE9"
     "duction g\xE9n\xE9rale",
     "Con esta corredera puede reglar la reducci\xF3n general", "", nullptr},
    // 30
    {"By pressing this button, the sensitivity value for translation is reset to the predefined "
     "default value",
     "Durch Anklicken dieses Buttons wird die translatorische Empfindlichkeit wieder auf ihren "
     "voreingestellten Wert gesetzt",
     "En cliquant ce bouton la sensibilit\xE9 de la translation sera remis \xE0 son valeur d\xE9"
     "faut",
     "Apretando este bot\xF3n la sensibilidad de la translaci\xF3n ser\xE1 puesto de nuevo a su "
     "valor default",
     "", nullptr},
    // 31
    {"By pressing this button, the sensitivity value for rotation is reset to the predefined "
     "default value",
     "Durch Anklicken dieses Buttons wird die rotatorische Empfindlichkeit wieder auf ihren "
     "voreingestellten Wert gesetzt",
     "En cliquant ce bouton la sensibilit\xE9 de la rotation sera remis \xE0 son valeur d\xE9"
     "faut",
     "Apretando este bot\xF3n la sensibilidad de la rotaci\xF3n ser\xE1 puesto de nuevo a su "
     "valor default",
     "", nullptr},
    // 32
    {"Astrolab", "AIRCAP", "AIRCAP", "AIRCAP", "AIRCAP", nullptr},
    // 33
    {kMaker, kMaker, kMaker, kMaker, kMaker, nullptr},
    // 34
    {"Information", "Information", "Autour de", "Acerca de", "Informazione", nullptr},
    // 35
    {"Hardware Reset", "Hardware Reset", "Hardware Reset", "Hardware Reset", "Hardware Reset",
     nullptr},
    // 36
    {"By pressing this button, you can reset/redefine the cap\xB4s zero position",
     "Durch Anklicken dieses Buttons k\xF6nnen Sie die Null-Position der Kappe neu setzen",
     "En cliquant ce bouton vous pouvez obtenir de nouveau la position z\xE9ro du chapeau",
     "Apretando este bot\xF3n puede obtener de nuevo la posici\xF3n cero de la chapa", "", nullptr},
    // 37
    {"North", "Nord", "Nord", "Norte", "", nullptr},
    // 38: unused
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    // 39
    {"South",
     "S\xFC"
     "d",
     "Sud", "Sur", "", nullptr},
    // 40
    {"East", "Ost", "Est", "Este", "", nullptr},
    // 41
    {"Center", "Mitte", "Centre", "Centro", "", nullptr},
    // 42
    {"West", "West", "Ouest", "Oeste", "", nullptr},
    // 43
    {"This feature enables you to assign a real button to the Gyrodisc button",
     "Hier k\xF6nnen Sie der Gyrodisc Taste eine reale Taste zuordnen",
     "Ici vous pouvez assigner au bouton du Gyrodisc un bouton r\xE9"
     "el",
     "Aqu\xED puede asignar al bot\xF3n del Gyrodisc un bot\xF3n verdadero", "", nullptr},
    // 44
    {"This feature allows you to lock or unlock the Gyrodisc button",
     "Hier k\xF6nnen Sie die Gyrodisc Taste sperren oder freigeben",
     "Ici vous pouvez activer ou d\xE9sactiver le bouton du Gyrodisc",
     "Aqu\xED puede activar o desactivar el bot\xF3n del Gyrodisc", "", nullptr},
};

bool KnownId(std::int32_t id) {
  return id >= 0 && id < kLangTextCount;
}

}  // namespace

const char* LangText(std::int32_t language, std::int32_t id) {
  if (!KnownId(id)) return "";
  const char* text = kTexts[id][LanguageIndex(language)];
  return text != nullptr ? text : "";
}

const char* LangTextSlot(std::int32_t slot, std::int32_t id) {
  if (!KnownId(id) || slot < 0 || slot >= kLangTextSlots) return nullptr;
  return kTexts[id][slot];
}

}  // namespace astro
