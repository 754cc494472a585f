// What the password lock says, by language: the refusal of a wrong password, the
// new-password dialog's messages, and the rules a new password must meet.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace astro {

struct BoxText {
  const char* text;
  const char* caption;
};

// "ACCESS DENIED !" and its translations; none (null text) for a language index
// outside 0..4, where the refusal shows nothing.
BoxText AccessDeniedText(std::int32_t language);

// The new-password dialog's boxes, English for any other index.
BoxText PasswordMismatchText(std::int32_t language);
BoxText PasswordTooShortText(std::int32_t language);
// A password whose stored form would be cut short (a character that scrambles to
// a zero byte) is refused with this box.
BoxText PasswordNotStorableText(std::int32_t language);
// The factory password cannot be chosen: stored, it means that no password was
// ever set, and the lock would open without asking.
BoxText PasswordReservedText(std::int32_t language);

constexpr int kMinimumPasswordLength = 6;

// What the new-password dialog does with its two fields (each already cut to 19
// characters): the boxes to show, in order, and whether the password is taken.
struct NewPasswordVerdict {
  std::vector<BoxText> boxes;
  bool accepted = false;
};
NewPasswordVerdict CheckNewPassword(const std::string& password, const std::string& confirmation,
                                    std::int32_t language);

// A field's text as the password dialogs use it: at most its first 19 characters.
std::string PasswordFieldText(const std::string& text);

}  // namespace astro
