#include "config/security_texts.h"

#include "config/password_scrambling.h"
#include "ui/language_index.h"

namespace astro {
namespace {

bool Known(std::int32_t language) {
  return language >= 0 && language < kLanguageCount;
}

const char* Caption(std::int32_t language) {
  return LanguageIndex(language) == 0 ? "Astrolab/AIRCAP" : "AIRCAP";
}

// Windows-1252 bytes, by language: English, German, French, Spanish, Italian.
constexpr const char* kAccessDenied[kLanguageCount] = {"ACCESS DENIED !", "ZUGRIFF VERWEIGERT !",
                                                       "ACC\xC8S REFUS\xC9 !", "ACCESO NEGADO !",
                                                       "NO ACCESSO !"};
constexpr const char* kMismatch[kLanguageCount] = {"Passwords don't match !",
                                                   "Die Passw\xF6rter stimmen nicht \xFC"
                                                   "berein !",
                                                   "Les mots de passe ne sont pas identiques !",
                                                   "Las contrase\xF1"
                                                   "as no son id\xE9nticas !",
                                                   "Password non coincide"};
constexpr const char* kTooShort[kLanguageCount] = {"Minimum Length : 6 characters !",
                                                   "Mindestl\xE4nge : 6 Zeichen !",
                                                   "Longeur minimale : 6 signes",
                                                   "Extensi\xF3n minima : 6 sig\xF1"
                                                   "ales",
                                                   "Lunghezza minima: 6 caratteri"};
constexpr const char* kNotStorable[kLanguageCount] = {
    "This password cannot be stored: please choose other characters !",
    "Dieses Passwort kann nicht gespeichert werden: Bitte w\xE4hlen Sie andere Zeichen!",
    "Ce mot de passe ne peut pas \xEAtre enregistr\xE9\xA0: choisissez d'autres signes\xA0!",
    "Esta contrase\xF1"
    "a no se puede guardar: \xA1"
    "elija otros caracteres!",
    "Questa password non pu\xF2 essere salvata: scegliere altri caratteri!"};

constexpr const char* kReserved[kLanguageCount] = {
    "This is the factory password: please choose another one !",
    "Dies ist das Werkspasswort: Bitte w\xE4hlen Sie ein anderes!",
    "C'est le mot de passe d'usine\xA0: choisissez-en un autre\xA0!",
    "Esta es la contrase\xF1"
    "a de f\xE1"
    "brica: \xA1"
    "elija otra!",
    "Questa \xE8 la password di fabbrica: sceglierne un'altra!"};

}  // namespace

BoxText AccessDeniedText(std::int32_t language) {
  if (!Known(language)) return {nullptr, nullptr};
  return {kAccessDenied[language], Caption(language)};
}

BoxText PasswordMismatchText(std::int32_t language) {
  return {kMismatch[LanguageIndex(language)], Caption(language)};
}

BoxText PasswordTooShortText(std::int32_t language) {
  return {kTooShort[LanguageIndex(language)], Caption(language)};
}

BoxText PasswordNotStorableText(std::int32_t language) {
  return {kNotStorable[LanguageIndex(language)], Caption(language)};
}

BoxText PasswordReservedText(std::int32_t language) {
  return {kReserved[LanguageIndex(language)], Caption(language)};
}

std::string PasswordFieldText(const std::string& text) {
  return text.substr(0, kPasswordMaxLength);
}

NewPasswordVerdict CheckNewPassword(const std::string& password, const std::string& confirmation,
                                    std::int32_t language) {
  NewPasswordVerdict verdict;
  const bool differ = password != confirmation;
  const bool tooShort = static_cast<int>(password.size()) < kMinimumPasswordLength ||
                        static_cast<int>(confirmation.size()) < kMinimumPasswordLength;
  if (differ) verdict.boxes.push_back(PasswordMismatchText(language));
  if (tooShort) verdict.boxes.push_back(PasswordTooShortText(language));
  if (!differ && !tooShort && password == kDefaultPassword) {
    verdict.boxes.push_back(PasswordReservedText(language));
  } else if (!differ && !tooShort && !PasswordStorable(password.c_str())) {
    verdict.boxes.push_back(PasswordNotStorableText(language));
  }
  verdict.accepted = verdict.boxes.empty();
  return verdict;
}

}  // namespace astro
