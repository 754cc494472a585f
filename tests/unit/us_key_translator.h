// A US keyboard layout for the key notation tests, answering as the system's
// ToAscii and GetKeyNameTextA do for the keys the tests type. Caps Lock, dead
// keys, AltGr and the numeric keypad are left out; keys it does not know give
// no characters and no name.
#pragma once

#include <cstdint>
#include <string>

#include "config/key_translator.h"

namespace astro {
namespace testing {

class UsKeyTranslator : public KeyTranslator {
 public:
  std::string ToAscii(std::uint32_t virtualKey, std::uint32_t /*scanCode*/,
                      const std::uint8_t (&keyState)[256]) override {
    const bool shift = Down(keyState, 0x10) || Down(keyState, 0xA0) || Down(keyState, 0xA1);
    const bool ctrl = Down(keyState, 0x11) || Down(keyState, 0xA2) || Down(keyState, 0xA3);
    const bool alt = Down(keyState, 0x12) || Down(keyState, 0xA4) || Down(keyState, 0xA5);
    // Ctrl with Alt is AltGr, which types nothing on this layout.
    if (ctrl && alt) return "";
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
      if (ctrl) return std::string(1, static_cast<char>(virtualKey - 'A' + 1));
      return std::string(1, static_cast<char>(shift ? virtualKey : virtualKey - 'A' + 'a'));
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
      if (ctrl) return "";
      return std::string(1, shift ? ")!@#$%^&*("[virtualKey - '0'] : static_cast<char>(virtualKey));
    }
    switch (virtualKey) {
      case 0x20:
        return " ";
      case 0xBF:  // VK_OEM_2
        return ctrl ? "" : shift ? "?" : "/";
      case 0xBA:  // VK_OEM_1
        return ctrl ? "" : shift ? ":" : ";";
      case 0xBD:  // VK_OEM_MINUS
        return ctrl ? "\x1f" : shift ? "_" : "-";
      case 0xBE:  // VK_OEM_PERIOD
        return ctrl ? "" : shift ? ">" : ".";
      case 0x0D:
        return ctrl ? "\n" : "\r";
      case 0x09:
        return "\t";
      case 0x08:
        return ctrl ? "\x7f" : "\b";
      case 0x1B:
        return "\x1b";
      default:
        return "";
    }
  }

  std::string KeyName(std::uint32_t keyData) override {
    const std::uint32_t scan = (keyData >> 16) & 0xFFu;
    const bool extended = (keyData & (1u << 24)) != 0;
    if (extended) {
      switch (scan) {
        case 0x1C:
          return "Num Enter";
        case 0x1D:
          return "Right Ctrl";
        case 0x38:
          return "Right Alt";
        case 0x47:
          return "Home";
        case 0x48:
          return "Up";
        case 0x49:
          return "Page Up";
        case 0x4B:
          return "Left";
        case 0x4D:
          return "Right";
        case 0x4F:
          return "End";
        case 0x50:
          return "Down";
        case 0x51:
          return "Page Down";
        case 0x52:
          return "Insert";
        case 0x53:
          return "Delete";
        default:
          return "";
      }
    }
    if (scan >= 0x3B && scan <= 0x44) return "F" + std::to_string(scan - 0x3B + 1);
    // Keys that type a character are named by it, letters by their capital.
    static const char kCharacters[] =
        "\0\0"                // 0x00-0x01
        "1234567890-=\0\0"    // 0x02-0x0F
        "QWERTYUIOP[]\0\0AS"  // 0x10-0x1F
        "DFGHJKL;'`\0\\ZXCV"  // 0x20-0x2F
        "BNM,./";             // 0x30-0x35
    static_assert(sizeof kCharacters == 0x37, "one character a scan code up to 0x35");
    if (scan < sizeof kCharacters - 1 && kCharacters[scan] != '\0') {
      return std::string(1, kCharacters[scan]);
    }
    switch (scan) {
      case 0x01:
        return "Esc";
      case 0x0E:
        return "Backspace";
      case 0x0F:
        return "Tab";
      case 0x1C:
        return "Enter";
      case 0x1D:
        return "Ctrl";
      case 0x2A:
        return "Shift";
      case 0x36:
        return "Right Shift";
      case 0x38:
        return "Alt";
      case 0x39:
        return "Space";
      case 0x3A:
        return "Caps Lock";
      case 0x57:
        return "F11";
      case 0x58:
        return "F12";
      default:
        return "";
    }
  }

 private:
  static bool Down(const std::uint8_t (&keyState)[256], int virtualKey) {
    return (keyState[virtualKey] & 0x80) != 0;
  }
};

}  // namespace testing
}  // namespace astro
