#include "config/mapping_dialog_texts.h"

namespace astro {
namespace {

// Windows-1252 bytes: English, German, French, Spanish, Italian, any other index.
constexpr MappingDialogTexts kTexts[6] = {
    {"Save changes for %s?",
     "Please enter a different name for your keyboard mapping !",
     "Astrolab/AIRCAP Keyboard Mapping",
     "You can not delete the generic mapping !",
     "Astrolab/AIRCAP keyboard mapping",
     {"NOTE:", "Close this Window before", "you use the button mapping !"},
     "The name of a keyboard mapping must have 1 to 63 characters and no backslash (\\) !",
     "A program is named by its file name without folder (for example notepad.exe); %s cannot be "
     "one !"},
    {"\xC4nderungen f\xFCr %s speichern ?",
     "Bitte geben Sie einen anderen Namen ein!",
     "AIRCAP Tastaturbelegung",
     "Diese Belegung kann nicht gel\xF6scht werden!",
     "AIRCAP Tastaturbelegung",
     {"ACHTUNG:",
      "Bitte schlie\xDF"
      "en Sie dieses Fenster",
      "um das Mapping zu aktivieren !"},
     "Der Name einer Tastaturbelegung muss 1 bis 63 Zeichen haben und darf keinen Backslash (\\) "
     "enthalten!",
     "Ein Programm wird mit seinem Dateinamen ohne Ordner angegeben (zum Beispiel notepad.exe); "
     "%s ist keiner!"},
    {"Sauvegarder les changements pour %s ?",
     "Entrez un autre nom s'il vouz pla\xEEt !",
     "Programmation du clavier",
     "Cette programmation ne peut pas \xEAtre effac\xE9",
     "AIRCAP programmation du clavier",
     {"ADVERTISSEMENT:", "Fermez la fen\xEAtre avant d' activer", "la programmation des boutons !"},
     "Le nom d'une programmation doit avoir de 1 \xE0 63 signes et aucune barre oblique inverse "
     "(\\)\xA0!",
     "Un programme est d\xE9sign\xE9 par son nom de fichier sans dossier (par exemple "
     "notepad.exe)\xA0; %s n'en est pas un\xA0!"},
    {"Guardar los cambios para %s ?",
     "Entre otro nombre por favor !",
     "Programaci\xF3n del teclado",
     "Esta programaci\xF3n no puede estar borrado",
     "AIRCAP programaci\xF3n del teclado",
     {"ADVERTENCIA:", "Cierre la ventana antes de activar", "la programaci\xF3n de los botones !"},
     "\xA1"
     "El nombre de una programaci\xF3n debe tener de 1 a 63 signos y ninguna barra inversa (\\)!",
     "\xA1Un programa se indica con su nombre de archivo sin carpeta (por ejemplo notepad.exe); "
     "%s no lo es!"},
    {"Salvare le alterazioni per %s ?",
     "Introdurre per piacere un nome differente per la programmazione dei tasti",
     "Mappatura tastiera AIRCAP",
     "Non pu cancellare la programmazione generica",
     "Mappatura tastiera AIRCAP",
     {"AVVERTIMENTO:", "Chiudere questo quadro prima di", "programmare le funzioni dei tasti"},
     "Il nome di una programmazione deve avere da 1 a 63 caratteri e nessuna barra rovesciata "
     "(\\)!",
     "Un programma si indica con il nome del file senza cartella (per esempio notepad.exe); %s "
     "non lo \xE8!"},
    {"Save changes for %s?",
     "Enter a different name for your keyboard mapping!",
     "Astrolab/AIRCAP Keyboard Mapping",
     "You can not delete the generic mapping !",
     "Astrolab/AIRCAP Keyboard Mapping",
     {"NOTE:", "Close this Window before", "you use the button mapping!"},
     "The name of a keyboard mapping must have 1 to 63 characters and no backslash (\\)!",
     "A program is named by its file name without folder (for example notepad.exe); %s cannot be "
     "one!"},
};

constexpr int kLabels[kMappingSlots] = {1302, 1104, 1105, 1106, 1107, 1108,
                                        1009, 1010, 1011, 1112, 1213, 1214};
constexpr const char* kUnassigned[kMappingSlots] = {
    "(1)", "(2)", "(3)", "(4)", "(5)", "(6)", "(7)", "(8)", "(*)", "(+)", "(-)", "(Hintview)"};

}  // namespace

const MappingDialogTexts& MappingDialogTextsFor(std::int32_t language) {
  return kTexts[language >= 0 && language < 5 ? language : 5];
}

namespace {

// The text with its first "%s" replaced by value (a value holding "%s" stays as it is).
std::string Filled(const char* text, const std::string& value) {
  std::string filled = text;
  const std::size_t at = filled.find("%s");
  if (at != std::string::npos) filled.replace(at, 2, value);
  return filled;
}

}  // namespace

std::string SaveQuestion(std::int32_t language, const std::string& name) {
  return Filled(MappingDialogTextsFor(language).saveQuestion, name);
}

std::string BadProgramMessage(std::int32_t language, const std::string& entry) {
  return Filled(MappingDialogTextsFor(language).badProgram, entry);
}

int SlotOfLabel(int controlId) {
  for (int slot = 1; slot <= kMappingSlots; ++slot) {
    if (kLabels[slot - 1] == controlId) return slot;
  }
  return 0;
}

int LabelOfSlot(int slot) {
  return slot >= 1 && slot <= kMappingSlots ? kLabels[slot - 1] : 0;
}

const char* UnassignedLabel(int slot) {
  return slot >= 1 && slot <= kMappingSlots ? kUnassigned[slot - 1] : "";
}

}  // namespace astro
