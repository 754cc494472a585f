#include "ui/tooltip_table.h"

#include <cstdint>

#include "config/factory_mappings.h"
#include "ui/lang_text.h"
#include "ui/language_index.h"

namespace astro {
namespace {

struct TooltipEntry {
  int item;
  // English, German, French, Spanish, Italian; Windows-1252 bytes. A hex escape
  // that would run into a following hex digit is closed by splitting the literal.
  // French sets a no-break space (\xA0) before ":" and "?".
  const char* slots[kLanguageCount];
};

// Families of controls that differ only in a number (or not at all) have each
// language's wording written once.
// clang-format off
#define ON_SCREEN_BUTTON_N(item, n)                                              \
  {item,                                                                         \
   {"Click here to execute the function assigned to button # " n,                \
    "Klicken Sie hier, um die Funktion von Taste # " n " auszuf\xFChren",        \
    "Cliquez ici pour ex\xE9" "cuter la fonction affect\xE9" "e au bouton # " n, \
    "Haga clic aqu\xED para ejecutar la funci\xF3n asignada al bot\xF3n # " n,   \
    "Fare clic qui per eseguire la funzione assegnata al tasto # " n}}
#define MAPPING_BUTTON_N(item, n)                                                     \
  {item,                                                                              \
   {"Click here to change the keyboard mapping for button # " n ": ",                 \
    "Klicken Sie hier, um die Tastaturbelegung von Taste # " n " zu \xE4ndern: ",     \
    "Cliquez ici pour modifier l'affectation clavier du bouton # " n "\xA0: ",            \
    "Haga clic aqu\xED para cambiar la asignaci\xF3n de teclado del bot\xF3n # " n ": ", \
    "Fare clic qui per modificare l'assegnazione della tastiera del tasto # " n ": "}}
#define TARGET_RADIO(item)                                                                    \
  {item,                                                                                      \
   {"Click on this Radiobutton to redirect the data to this application: ",                   \
    "Klicken Sie auf dieses Optionsfeld, um die Daten an diese Anwendung umzuleiten: ",       \
    "Cliquez sur ce bouton radio pour rediriger les donn\xE9" "es vers cette application\xA0: ",  \
    "Haga clic en este bot\xF3n de opci\xF3n para redirigir los datos a esta aplicaci\xF3n: ", \
    "Fare clic su questo pulsante di opzione per reindirizzare i dati a questa applicazione: "}}
// clang-format on

// Sorted by item number. The language radio buttons (2004..2008) tell, in each
// language, that this language is the current one and offer the change to the
// others.
constexpr TooltipEntry kTooltips[] = {
    {1,
     {"Click on the O.K. button to close this dialog",
      "Klicken Sie auf O.K., um diesen Dialog zu schlie\xDF"
      "en",
      "Cliquez sur le bouton O.K. pour fermer cette bo\xEEte de dialogue",
      "Haga clic en el bot\xF3n O.K. para cerrar este cuadro de di\xE1logo",
      "Fare clic sul pulsante O.K. per chiudere questa finestra"}},
    {2,
     {"Click on this button to abort this operation",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um diesen Vorgang abzubrechen",
      "Cliquez sur ce bouton pour interrompre cette op\xE9ration",
      "Haga clic en este bot\xF3n para cancelar esta operaci\xF3n",
      "Fare clic su questo pulsante per annullare questa operazione"}},
    {3,
     {"Click here to clear the contents of this button mapping",
      "Klicken Sie hier, um den Inhalt dieser Tastenbelegung zu l\xF6schen",
      "Cliquez ici pour effacer le contenu de cette affectation de bouton",
      "Haga clic aqu\xED para borrar el contenido de esta asignaci\xF3n de bot\xF3n",
      "Fare clic qui per cancellare il contenuto di questa assegnazione del tasto"}},
    {4,
     {"What's this button (IDRETRY) ?",
      "Was ist das f\xFCr eine Schaltfl\xE4"
      "che (IDRETRY)?",
      "Qu'est-ce que ce bouton (IDRETRY)\xA0?", "\xBFQu\xE9 es este bot\xF3n (IDRETRY)?",
      "Che cos'\xE8 questo pulsante (IDRETRY)?"}},
    {5,
     {"Click here to save this button mapping",
      "Klicken Sie hier, um diese Tastenbelegung zu speichern",
      "Cliquez ici pour enregistrer cette affectation de bouton",
      "Haga clic aqu\xED para guardar esta asignaci\xF3n de bot\xF3n",
      "Fare clic qui per salvare questa assegnazione del tasto"}},
    {7,
     {"Click here to abort the operation", "Klicken Sie hier, um den Vorgang abzubrechen",
      "Cliquez ici pour interrompre l'op\xE9ration",
      "Haga clic aqu\xED para cancelar la operaci\xF3n",
      "Fare clic qui per annullare l'operazione"}},
    {109,
     {"Click here if you want to terminate the Astrolab/AIRCAP driver",
      "Klicken Sie hier, wenn Sie den Astrolab/AIRCAP-Treiber beenden wollen",
      "Cliquez ici si vous voulez arr\xEAter le pilote Astrolab/AIRCAP",
      "Haga clic aqu\xED si quiere terminar el controlador Astrolab/AIRCAP",
      "Fare clic qui se si vuole terminare il driver Astrolab/AIRCAP"}},
    {110,
     {"Click here if you want to change the Astrolab/AIRCAP settings",
      "Klicken Sie hier, wenn Sie die Astrolab/AIRCAP-Einstellungen \xE4ndern wollen",
      "Cliquez ici si vous voulez modifier les r\xE9glages de l'Astrolab/AIRCAP",
      "Haga clic aqu\xED si quiere cambiar la configuraci\xF3n del Astrolab/AIRCAP",
      "Fare clic qui se si vogliono modificare le impostazioni dell'Astrolab/AIRCAP"}},
    {111,
     {"Click here if you want to get information about the Astrolab/AIRCAP driver",
      "Klicken Sie hier, wenn Sie Informationen \xFC"
      "ber den Astrolab/AIRCAP-Treiber erhalten wollen",
      "Cliquez ici si vous voulez des informations sur le pilote Astrolab/AIRCAP",
      "Haga clic aqu\xED si quiere informaci\xF3n sobre el controlador Astrolab/AIRCAP",
      "Fare clic qui se si vogliono informazioni sul driver Astrolab/AIRCAP"}},
    {118,
     {"Open this menu to change the target application",
      "\xD6"
      "ffnen Sie dieses Men\xFC, um die Zielanwendung zu wechseln",
      "Ouvrez ce menu pour changer l'application cible",
      "Abra este men\xFA para cambiar la aplicaci\xF3n de destino",
      "Aprire questo menu per cambiare l'applicazione di destinazione"}},
    ON_SCREEN_BUTTON_N(1000, "1"),
    ON_SCREEN_BUTTON_N(1001, "2"),
    ON_SCREEN_BUTTON_N(1002, "3"),
    ON_SCREEN_BUTTON_N(1003, "4"),
    ON_SCREEN_BUTTON_N(1004, "5"),
    ON_SCREEN_BUTTON_N(1005, "6"),
    ON_SCREEN_BUTTON_N(1006, "7"),
    ON_SCREEN_BUTTON_N(1007, "8"),
    {1008,
     {"Click here to execute the function assigned to the * button",
      "Klicken Sie hier, um die Funktion der Taste * auszuf\xFChren",
      "Cliquez ici pour ex\xE9"
      "cuter la fonction affect\xE9"
      "e au bouton *",
      "Haga clic aqu\xED para ejecutar la funci\xF3n asignada al bot\xF3n *",
      "Fare clic qui per eseguire la funzione assegnata al tasto *"}},
    MAPPING_BUTTON_N(1009, "7"),
    MAPPING_BUTTON_N(1010, "8"),
    {1011,
     {"Click here to change the keyboard mapping for the * button: ",
      "Klicken Sie hier, um die Tastaturbelegung der Taste * zu \xE4ndern: ",
      "Cliquez ici pour modifier l'affectation clavier du bouton *\xA0: ",
      "Haga clic aqu\xED para cambiar la asignaci\xF3n de teclado del bot\xF3n *: ",
      "Fare clic qui per modificare l'assegnazione della tastiera del tasto *: "}},
    {1027,
     {"The user can open the panel only if checked",
      "Der Benutzer kann die Einstellungen nur \xF6"
      "ffnen, wenn dies angekreuzt ist",
      "L'utilisateur ne peut ouvrir le panneau que si cette case est coch\xE9"
      "e",
      "El usuario s\xF3lo puede abrir el panel si est\xE1 marcado",
      "L'utente pu\xF2 aprire il pannello solo se selezionato"}},
    {1028,
     {"The user can exit the driver only if checked",
      "Der Benutzer kann den Treiber nur beenden, wenn dies angekreuzt ist",
      "L'utilisateur ne peut quitter le pilote que si cette case est coch\xE9"
      "e",
      "El usuario s\xF3lo puede salir del controlador si est\xE1 marcado",
      "L'utente pu\xF2 chiudere il driver solo se selezionato"}},
    {1029,
     {"The user can change the target application only if checked",
      "Der Benutzer kann die Zielanwendung nur wechseln, wenn dies angekreuzt ist",
      "L'utilisateur ne peut changer l'application cible que si cette case est coch\xE9"
      "e",
      "El usuario s\xF3lo puede cambiar la aplicaci\xF3n de destino si est\xE1 marcado",
      "L'utente pu\xF2 cambiare l'applicazione di destinazione solo se selezionato"}},
    {1030,
     {"The user can change the keyboard-mapping only if checked",
      "Der Benutzer kann die Tastaturbelegung nur \xE4ndern, wenn dies angekreuzt ist",
      "L'utilisateur ne peut modifier l'affectation clavier que si cette case est coch\xE9"
      "e",
      "El usuario s\xF3lo puede cambiar la asignaci\xF3n de teclado si est\xE1 marcado",
      "L'utente pu\xF2 modificare l'assegnazione della tastiera solo se selezionato"}},
    {1031,
     {"Please enter your password here", "Bitte geben Sie hier Ihr Passwort ein",
      "Veuillez entrer votre mot de passe ici",
      "Por favor, introduzca aqu\xED su contrase\xF1"
      "a",
      "Inserire qui la password"}},
    {1032,
     {"Please enter your new password here (min. 6 characters - max. 20 characters)",
      "Bitte geben Sie hier Ihr neues Passwort ein (min. 6 Zeichen - max. 20 Zeichen)",
      "Veuillez entrer votre nouveau mot de passe ici (min. 6 caract\xE8res - max. 20 "
      "caract\xE8res)",
      "Por favor, introduzca aqu\xED su nueva contrase\xF1"
      "a (m\xEDn. 6 caracteres - m\xE1x. 20 caracteres)",
      "Inserire qui la nuova password (min. 6 caratteri - max. 20 caratteri)"}},
    {1033,
     {"Please enter your new password here again for confirmation",
      "Bitte geben Sie hier Ihr neues Passwort zur Best\xE4tigung noch einmal ein",
      "Veuillez entrer encore une fois votre nouveau mot de passe ici pour le confirmer",
      "Por favor, introduzca aqu\xED otra vez su nueva contrase\xF1"
      "a para confirmarla",
      "Inserire qui ancora una volta la nuova password per conferma"}},
    {1034,
     {"Click on this button to change the password",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um das Passwort zu \xE4ndern",
      "Cliquez sur ce bouton pour changer le mot de passe",
      "Haga clic en este bot\xF3n para cambiar la contrase\xF1"
      "a",
      "Fare clic su questo pulsante per cambiare la password"}},
    {1035,
     {"Use this slider to adjust the sensitivity for the x - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die x-Achse ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 de l'axe x",
      "Con esta corredera puede ajustar la sensibilidad del eje x",
      "Usare questo cursore per regolare la sensibilit\xE0 dell'asse x"}},
    {1036,
     {"Use this slider to adjust the overall sensitivity (more to the right, less to the left)",
      "Mit diesem Schieber stellen Sie die generelle Empfindlichkeit ein (nach rechts mehr, nach "
      "links weniger)",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 g\xE9n\xE9rale (plus vers la droite, "
      "moins vers la gauche)",
      "Con esta corredera puede ajustar la sensibilidad general (m\xE1s hacia la derecha, menos "
      "hacia la izquierda)",
      "Usare questo cursore per regolare la sensibilit\xE0 generale (di pi\xF9 a destra, di meno a "
      "sinistra)"}},
    {1038,
     {"Use this slider to adjust the sensitivity for the rotations around the y - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die Rotationen um die y-Achse "
      "ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 des rotations autour de l'axe y",
      "Con esta corredera puede ajustar la sensibilidad de las rotaciones alrededor del eje y",
      "Usare questo cursore per regolare la sensibilit\xE0 delle rotazioni attorno all'asse y"}},
    {1039,
     {"Use this slider to adjust the sensitivity for the y - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die y-Achse ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 de l'axe y",
      "Con esta corredera puede ajustar la sensibilidad del eje y",
      "Usare questo cursore per regolare la sensibilit\xE0 dell'asse y"}},
    {1040,
     {"Use this slider to adjust the sensitivity for the z - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die z-Achse ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 de l'axe z",
      "Con esta corredera puede ajustar la sensibilidad del eje z",
      "Usare questo cursore per regolare la sensibilit\xE0 dell'asse z"}},
    {1041,
     {"Use this slider to adjust the sensitivity for the rotations around the z - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die Rotationen um die z-Achse "
      "ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 des rotations autour de l'axe z",
      "Con esta corredera puede ajustar la sensibilidad de las rotaciones alrededor del eje z",
      "Usare questo cursore per regolare la sensibilit\xE0 delle rotazioni attorno all'asse z"}},
    {1042,
     {"Check/uncheck to switch x-axis movement on/off",
      "Ankreuzen oder Kreuz entfernen, um die Bewegung entlang der x-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver le mouvement le long de l'axe x",
      "Marque/desmarque para activar/desactivar el movimiento a lo largo del eje x",
      "Selezionare/deselezionare per attivare/disattivare il movimento lungo l'asse x"}},
    TARGET_RADIO(1043),
    TARGET_RADIO(1044),
    TARGET_RADIO(1045),
    TARGET_RADIO(1046),
    TARGET_RADIO(1047),
    TARGET_RADIO(1048),
    TARGET_RADIO(1049),
    TARGET_RADIO(1050),
    MAPPING_BUTTON_N(1104, "2"),
    MAPPING_BUTTON_N(1105, "3"),
    MAPPING_BUTTON_N(1106, "4"),
    MAPPING_BUTTON_N(1107, "5"),
    MAPPING_BUTTON_N(1108, "6"),
    {1109,
     {"Click here to execute the funtion assigned to the + button",
      "Klicken Sie hier, um die Funktion der Taste + auszuf\xFChren",
      "Cliquez ici pour ex\xE9"
      "cuter la fonction affect\xE9"
      "e au bouton +",
      "Haga clic aqu\xED para ejecutar la funci\xF3n asignada al bot\xF3n +",
      "Fare clic qui per eseguire la funzione assegnata al tasto +"}},
    {1110,
     {"Click here to execute the funktion assigned to the - button",
      "Klicken Sie hier, um die Funktion der Taste - auszuf\xFChren",
      "Cliquez ici pour ex\xE9"
      "cuter la fonction affect\xE9"
      "e au bouton -",
      "Haga clic aqu\xED para ejecutar la funci\xF3n asignada al bot\xF3n -",
      "Fare clic qui per eseguire la funzione assegnata al tasto -"}},
    {1112,
     {"Click here to change the keyboard mapping for the + button (Astrolab/AIRCAP PLUS only): ",
      "Klicken Sie hier, um die Tastaturbelegung der Taste + zu \xE4ndern (nur Astrolab/AIRCAP "
      "PLUS): ",
      "Cliquez ici pour modifier l'affectation clavier du bouton + (Astrolab/AIRCAP PLUS "
      "seulement)\xA0: ",
      "Haga clic aqu\xED para cambiar la asignaci\xF3n de teclado del bot\xF3n + (s\xF3lo "
      "Astrolab/AIRCAP PLUS): ",
      "Fare clic qui per modificare l'assegnazione della tastiera del tasto + (solo "
      "Astrolab/AIRCAP PLUS): "}},
    {1113,
     {"Click on this button to switch the translational movement on or off",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um die translatorische Bewegung ein- oder auszuschalten",
      "Cliquez sur ce bouton pour activer ou d\xE9sactiver le mouvement de translation",
      "Haga clic en este bot\xF3n para activar o desactivar el movimiento de translaci\xF3n",
      "Fare clic su questo pulsante per attivare o disattivare il movimento di traslazione"}},
    {1115,
     {"Click on this button to switch the rotaional movement on or off",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um die rotatorische Bewegung ein- oder auszuschalten",
      "Cliquez sur ce bouton pour activer ou d\xE9sactiver le mouvement de rotation",
      "Haga clic en este bot\xF3n para activar o desactivar el movimiento de rotaci\xF3n",
      "Fare clic su questo pulsante per attivare o disattivare il movimento di rotazione"}},
    {1116,
     {"Click on this button to switch the dominant-mode on or off",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um den Dominant-Modus ein- oder auszuschalten",
      "Cliquez sur ce bouton pour activer ou d\xE9sactiver le mode dominant",
      "Haga clic en este bot\xF3n para activar o desactivar el modo dominante",
      "Fare clic su questo pulsante per attivare o disattivare il modo distanza"}},
    {1137,
     {"Use this slider to adjust the sensitivity for the rotations around the x - axis",
      "Mit diesem Schieber stellen Sie die Empfindlichkeit f\xFCr die Rotationen um die x-Achse "
      "ein",
      "Avec ce glissoir vous r\xE9glez la sensibilit\xE9 des rotations autour de l'axe x",
      "Con esta corredera puede ajustar la sensibilidad de las rotaciones alrededor del eje x",
      "Usare questo cursore per regolare la sensibilit\xE0 delle rotazioni attorno all'asse x"}},
    {1143,
     {"Check/uncheck to switch y-axis movement on/off",
      "Ankreuzen oder Kreuz entfernen, um die Bewegung entlang der y-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver le mouvement le long de l'axe y",
      "Marque/desmarque para activar/desactivar el movimiento a lo largo del eje y",
      "Selezionare/deselezionare per attivare/disattivare il movimento lungo l'asse y"}},
    {1144,
     {"Check/uncheck to switch z-axis movement on/off",
      "Ankreuzen oder Kreuz entfernen, um die Bewegung entlang der z-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver le mouvement le long de l'axe z",
      "Marque/desmarque para activar/desactivar el movimiento a lo largo del eje z",
      "Selezionare/deselezionare per attivare/disattivare il movimento lungo l'asse z"}},
    {1145,
     {"Check/uncheck to switch roations around the x-axis on/off",
      "Ankreuzen oder Kreuz entfernen, um die Rotationen um die x-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver les rotations autour de l'axe x",
      "Marque/desmarque para activar/desactivar las rotaciones alrededor del eje x",
      "Selezionare/deselezionare per attivare/disattivare le rotazioni attorno all'asse x"}},
    {1146,
     {"Check/uncheck to switch roations around the y-axis on/off",
      "Ankreuzen oder Kreuz entfernen, um die Rotationen um die y-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver les rotations autour de l'axe y",
      "Marque/desmarque para activar/desactivar las rotaciones alrededor del eje y",
      "Selezionare/deselezionare per attivare/disattivare le rotazioni attorno all'asse y"}},
    {1147,
     {"Check/uncheck to switch roations around the z-axis on/off",
      "Ankreuzen oder Kreuz entfernen, um die Rotationen um die z-Achse ein- oder auszuschalten",
      "Cochez/d\xE9"
      "cochez pour activer/d\xE9sactiver les rotations autour de l'axe z",
      "Marque/desmarque para activar/desactivar las rotaciones alrededor del eje z",
      "Selezionare/deselezionare per attivare/disattivare le rotazioni attorno all'asse z"}},
    {1205,
     {"Click on this button to close this dialog",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um diesen Dialog zu schlie\xDF"
      "en",
      "Cliquez sur ce bouton pour fermer cette bo\xEEte de dialogue",
      "Haga clic en este bot\xF3n para cerrar este cuadro de di\xE1logo",
      "Fare clic su questo pulsante per chiudere questa finestra"}},
    {1206,
     {"Click on this button to abort this operation",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um diesen Vorgang abzubrechen",
      "Cliquez sur ce bouton pour interrompre cette op\xE9ration",
      "Haga clic en este bot\xF3n para cancelar esta operaci\xF3n",
      "Fare clic su questo pulsante per annullare questa operazione"}},
    {1213,
     {"Click here to change the keyboard mapping for the - button (Astrolab/AIRCAP PLUS only): ",
      "Klicken Sie hier, um die Tastaturbelegung der Taste - zu \xE4ndern (nur Astrolab/AIRCAP "
      "PLUS): ",
      "Cliquez ici pour modifier l'affectation clavier du bouton - (Astrolab/AIRCAP PLUS "
      "seulement)\xA0: ",
      "Haga clic aqu\xED para cambiar la asignaci\xF3n de teclado del bot\xF3n - (s\xF3lo "
      "Astrolab/AIRCAP PLUS): ",
      "Fare clic qui per modificare l'assegnazione della tastiera del tasto - (solo "
      "Astrolab/AIRCAP PLUS): "}},
    {1214,
     {"Click here to change the keyboard mapping for the hintview button : ",
      "Klicken Sie hier, um die Tastaturbelegung der Hintview-Taste zu \xE4ndern: ",
      "Cliquez ici pour modifier l'affectation clavier du bouton Hintview\xA0: ",
      "Haga clic aqu\xED para cambiar la asignaci\xF3n de teclado del bot\xF3n Hintview: ",
      "Fare clic qui per modificare l'assegnazione della tastiera del tasto Hintview: "}},
    MAPPING_BUTTON_N(1302, "1"),
    {2000,
     {"Please enter here a name for your keyboard mapping",
      "Bitte geben Sie hier einen Namen f\xFCr Ihre Tastaturbelegung ein",
      "Veuillez entrer ici un nom pour votre affectation clavier",
      "Por favor, introduzca aqu\xED un nombre para su asignaci\xF3n de teclado",
      "Inserire qui un nome per l'assegnazione della tastiera"}},
    {2001,
     {"Please enter here the programs (file names separated by ;) in which this keyboard mapping "
      "is used",
      "Bitte geben Sie hier die Programme ein (Dateinamen, getrennt durch ;), in denen diese "
      "Tastaturbelegung gilt",
      "Veuillez entrer ici les programmes (noms de fichier s\xE9par\xE9s par ;) o\xF9 cette "
      "affectation clavier s'applique",
      "Por favor, introduzca aqu\xED los programas (nombres de archivo separados por ;) en los que "
      "se usa esta asignaci\xF3n",
      "Inserire qui i programmi (nomi di file separati da ;) nei quali vale questa assegnazione "
      "della tastiera"}},
    {2002,
     {"Click here to add a program that is running now to this list",
      "Klicken Sie hier, um ein gerade laufendes Programm zu dieser Liste hinzuzuf\xFCgen",
      "Cliquez ici pour ajouter \xE0 cette liste un programme en cours d'ex\xE9"
      "cution",
      "Haga clic aqu\xED para a\xF1"
      "adir a esta lista un programa en ejecuci\xF3n",
      "Fare clic qui per aggiungere a questa lista un programma in esecuzione"}},
    {2003,
     {"Choose the program to add to the list",
      "W\xE4hlen Sie das Programm, das der Liste hinzugef\xFCgt wird",
      "Choisissez le programme \xE0 ajouter \xE0 la liste",
      "Elija el programa que se a\xF1"
      "adir\xE1 a la lista",
      "Scegliere il programma da aggiungere alla lista"}},
    {2004,
     {"The current language used is english", "Klicken Sie hier um auf Englisch zu wechseln",
      "Cliquez ici pour passer \xE0 l'anglais", "Haga clic aqu\xED para cambiar al ingl\xE9s",
      "Fare clic qui per passare all'inglese"}},
    {2005,
     {"Click here to change to the German Language", "Die verwendete Sprache ist Deutsch",
      "Cliquez ici pour passer \xE0 l'allemand", "Haga clic aqu\xED para cambiar al alem\xE1n",
      "Fare clic qui per passare al tedesco"}},
    {2006,
     {"Click here to change to the French Language",
      "Klicken Sie hier um auf Franz\xF6sisch zu wechseln",
      "La langue utilis\xE9"
      "e est fran\xE7"
      "ais",
      "Haga clic aqu\xED para cambiar al franc\xE9s", "Fare clic qui per passare al francese"}},
    {2007,
     {"Click here to change to the Spanish Language",
      "Klicken Sie hier um auf Spanisch zu wechseln", "Cliquez ici pour passer \xE0 l'espagnol",
      "La lengua usada es espa\xF1ol ", "Fare clic qui per passare allo spagnolo"}},
    {2008,
     {"Click here to change to the Italian Language",
      "Klicken Sie hier um auf Italienisch zu wechseln", "Cliquez ici pour passer \xE0 l'italien",
      "Haga clic aqu\xED para cambiar al italiano",
      "La lingua attualmente utilizzata \xE8 l'italiano"}},
    {2009,
     {"The user can change the language only if checked",
      "Der Benutzer kann die Sprache nur wechseln, wenn dies angekreuzt ist",
      "L'utilisateur ne peut changer la langue que si cette case est coch\xE9"
      "e",
      "El usuario s\xF3lo puede cambiar la lengua si est\xE1 marcado",
      "L'utente pu\xF2 cambiare la lingua solo se selezionato"}},
    {2010,
     {"Some examples how the Astrolab/AIRCAP could be customized",
      "Einige Beispiele, wie das Astrolab/AIRCAP angepasst werden kann",
      "Quelques exemples de personnalisation de l'Astrolab/AIRCAP",
      "Algunos ejemplos de c\xF3mo se puede personalizar el Astrolab/AIRCAP",
      "Alcuni esempi di come si pu\xF2 personalizzare l'Astrolab/AIRCAP"}},
    {2018,
     {"Click on this button to switch the hintview function on or off",
      "Klicken Sie auf diese Schaltfl\xE4"
      "che, um die Hintview-Funktion ein- oder auszuschalten",
      "Cliquez sur ce bouton pour activer ou d\xE9sactiver la fonction Hintview",
      "Haga clic en este bot\xF3n para activar o desactivar la funci\xF3n Hintview",
      "Fare clic su questo pulsante per attivare o disattivare la funzione Hintview"}},
    {2023,
     {"Click here to execute the funtion assigned to the hintview button",
      "Klicken Sie hier, um die Funktion der Hintview-Taste auszuf\xFChren",
      "Cliquez ici pour ex\xE9"
      "cuter la fonction affect\xE9"
      "e au bouton Hintview",
      "Haga clic aqu\xED para ejecutar la funci\xF3n asignada al bot\xF3n Hintview",
      "Fare clic qui per eseguire la funzione assegnata al tasto Hintview"}},
    {40001,
     {"Open this menu to access the keyboard mapping options",
      "\xD6"
      "ffnen Sie dieses Men\xFC, um die Optionen der Tastaturbelegung aufzurufen",
      "Ouvrez ce menu pour acc\xE9"
      "der aux options d'affectation du clavier",
      "Abra este men\xFA para acceder a las opciones de asignaci\xF3n de teclado",
      "Aprire questo menu per accedere alle opzioni di assegnazione della tastiera"}},
    {40002,
     {"Open this menu to access the security options",
      "\xD6"
      "ffnen Sie dieses Men\xFC, um die Sicherheitsoptionen aufzurufen",
      "Ouvrez ce menu pour acc\xE9"
      "der aux options de s\xE9"
      "curit\xE9",
      "Abra este men\xFA para acceder a las opciones de seguridad",
      "Aprire questo menu per accedere alle opzioni di sicurezza"}},
};

#undef ON_SCREEN_BUTTON_N
#undef MAPPING_BUTTON_N
#undef TARGET_RADIO

// The keyboard mapping dialog's help button shows the tooltip of the Hintview
// label button.
constexpr int kHelpItem = 6;
constexpr int kHintviewMappingItem = 1214;

int EntryItem(int item) {
  return item == kHelpItem ? kHintviewMappingItem : item;
}

const TooltipEntry* FindEntry(int item) {
  for (const TooltipEntry& entry : kTooltips) {
    if (entry.item == item) return &entry;
  }
  return nullptr;
}

// Items whose tooltip is a text of the driver's text table.
struct LangTextItem {
  int item;
  std::int32_t textId;
};

constexpr LangTextItem kLangTextItems[] = {
    {1114, 36}, {1401, 31}, {2035, 30}, {2024, 25}, {2026, 26}, {2025, 27},
    {2027, 28}, {2045, 43}, {2046, 43}, {2047, 43}, {2053, 43}, {2054, 43},
    {2056, 44}, {2057, 44}, {2058, 44}, {2059, 44}, {2060, 44},
};

constexpr int kNullRadiusSlider = 1037;
constexpr std::int32_t kNullRadiusText = 29;
constexpr int kOverallSlider = 1036;
constexpr int kAxisSliders[] = {1035, 1039, 1040, 1137, 1038, 1041};
constexpr int kFirstTargetRadio = 1043;
constexpr int kLastTargetRadio = 1050;

// Device buttons 1..12 as the control panel shows them, and as the keyboard
// mapping dialog labels them.
constexpr int kPanelButtons[kButtonSlots] = {1000, 1001, 1002, 1003, 1004, 1005,
                                             1006, 1007, 1008, 1110, 1109, 2023};
constexpr int kMappingButtons[kButtonSlots] = {1302, 1104, 1105, 1106, 1107, 1108,
                                               1009, 1010, 1011, 1112, 1213, 1214};
constexpr int kHintviewButton = 12;

// The device button (1..12) of item in buttons; 0 when it is none of them.
int ButtonOf(int item, const int (&buttons)[kButtonSlots]) {
  for (int i = 0; i < kButtonSlots; ++i) {
    if (buttons[i] == item) return i + 1;
  }
  return 0;
}

bool IsAxisSlider(int item) {
  for (int slider : kAxisSliders) {
    if (slider == item) return true;
  }
  return false;
}

std::string PercentSuffix(std::int64_t percent) {
  return " (" + std::to_string(percent) + "% )";
}

// The overall slider runs from -6 to 6 and shows 0..100 %: the step is the
// single-precision 25/3, the product is rounded to single precision and then
// truncated, which makes -3, 0 and 6 show exactly 25, 50 and 100.
std::int64_t OverallPercent(int position) {
  constexpr float kStep = 25.0f / 3.0f;
  const float steps = static_cast<float>(static_cast<std::int64_t>(position) + 6);
  const float product = steps * kStep;
  return static_cast<std::int64_t>(product);
}

std::string PanelButtonText(const char* slot, int button, std::int32_t language,
                            TooltipSource& source) {
  std::string text = slot;
  const std::optional<std::string> recording =
      source.RecordedSequenceText(button, MappingShown::kInForce);
  if (!recording) {
    // Without a recording the Hintview button opens and closes the panel.
    if (button == kHintviewButton) {
      text += LanguageIndex(language) == 1 ? ": \xD6"
                                             "ffnen der Einstellungen"
                                           : ": open/close panel";
    }
    return text;
  }
  const std::string name = KnownSequenceName(button, *recording);
  return text + ": " + (name.empty() ? *recording : name);
}

constexpr int kNameBox = 2000;

// Where the shown mapping is in force, after the name box's text: " (in force in:
// a.exe, b.exe; c.exe uses Other)"; nothing for a mapping linked to nothing.
std::string LinkedProgramsNote(std::int32_t language, const std::vector<ProgramInForce>& programs) {
  // Windows-1252: English, German, French, Spanish, Italian.
  static constexpr const char* kInForceIn[5] = {
      "in force in: ", "gilt in: ", "en vigueur dans\xA0: ", "vigente en: ", "valida in: "};
  static constexpr const char* kUses[5] = {" uses ", " verwendet ", " utilise ", " usa ", " usa "};
  const int index = LanguageIndex(language);
  std::string own;
  std::string others;
  for (const ProgramInForce& entry : programs) {
    if (entry.listingMapping) {
      own += (own.empty() ? kInForceIn[index] : ", ") + entry.program;
    } else {
      others += (others.empty() ? "" : ", ") + entry.program + kUses[index] + entry.mapping;
    }
  }
  if (own.empty() && others.empty()) return std::string();
  return " (" + own + (own.empty() || others.empty() ? "" : "; ") + others + ")";
}

std::optional<std::string> Compose(int item, std::int32_t language, TooltipSource& source) {
  item = EntryItem(item);
  for (const LangTextItem& entry : kLangTextItems) {
    if (entry.item == item) return std::string(LangText(language, entry.textId));
  }
  if (item == kNullRadiusSlider) {
    return std::string(LangText(language, kNullRadiusText)) + ", (" +
           std::to_string(source.SliderPosition(item)) + ")";
  }
  const char* slot = TooltipSlot(item, language);
  if (slot == nullptr) return std::nullopt;
  if (item == kOverallSlider) {
    return slot + PercentSuffix(OverallPercent(source.SliderPosition(item)));
  }
  if (IsAxisSlider(item)) {
    return slot + PercentSuffix(static_cast<std::int64_t>(source.SliderPosition(item)) + 50);
  }
  if (item >= kFirstTargetRadio && item <= kLastTargetRadio) {
    return slot + source.ControlText(item).substr(0, kTooltipSlotLength);
  }
  if (const int button = ButtonOf(item, kPanelButtons)) {
    return PanelButtonText(slot, button, language, source);
  }
  if (const int button = ButtonOf(item, kMappingButtons)) {
    const std::optional<std::string> recording =
        source.RecordedSequenceText(button, MappingShown::kActive);
    return recording ? slot + *recording : std::string(slot);
  }
  if (item == kNameBox) return slot + LinkedProgramsNote(language, source.ShownMappingPrograms());
  return std::string(slot);
}

}  // namespace

void FillTooltipTable() {}

const char* TooltipSlot(int item, std::int32_t language) {
  const TooltipEntry* entry = FindEntry(EntryItem(item));
  return entry != nullptr ? entry->slots[LanguageIndex(language)] : nullptr;
}

std::vector<int> TooltipTableItems() {
  std::vector<int> items;
  for (const TooltipEntry& entry : kTooltips) items.push_back(entry.item);
  return items;
}

std::optional<std::string> TooltipText(int item, std::int32_t language, TooltipSource& source) {
  std::optional<std::string> text = Compose(item, language, source);
  // A long key sequence could overrun the tooltip's buffer: keep its beginning.
  if (text && text->size() > kTooltipTextLength) text->resize(kTooltipTextLength);
  return text;
}

}  // namespace astro
