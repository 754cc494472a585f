/* The Astrolab 3D controller's client protocol, for applications and plug-ins
 * that want the controller's motion and buttons.
 *
 * Usable from C (C99 or later) and C++. It needs only <stdint.h> and <string.h>: include
 * <windows.h> yourself for the calls named below. The driver is built from this
 * same header, so the codes and the packing here are the ones it uses.
 *
 * How a client talks to the driver:
 *  1. Register the four message names below with RegisterWindowMessageA; every
 *     process that registers a name gets the same number.
 *  2. Find the driver's hidden window: FindWindowA(ASTROLAB_WINDOW_CLASS, NULL).
 *     Without it there is no driver running.
 *  3. Announce the window that wants the events: post "CommandEvent" to the
 *     driver's window with wParam CmdSetClientWindow and lParam your window.
 *  4. Your window then receives "MotionEvent", "ButtonPressEvent" and
 *     "ButtonReleaseEvent" until another client announces itself, the user
 *     activates another bound application, or your window goes away.
 *
 * Every word of the protocol is 32 bits wide: on a 64-bit system take the low 32
 * bits of wParam and lParam ((uint32_t)wParam) before unpacking them. The driver
 * passes a word in wParam zero-extended and a word in lParam as a signed 32-bit
 * value sign-extended (as a 32-bit build would), so the low 32 bits of either are
 * exactly the word. */
#ifndef ASTROLAB_CLIENT_H
#define ASTROLAB_CLIENT_H

#include <stdint.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Class name of the driver's hidden main window; look it up by class, no title. */
#define ASTROLAB_WINDOW_CLASS "ASTROLAB_3D_CONTROLLER"

/* Registered message names. */
#define ASTROLAB_MOTION_EVENT "MotionEvent"                /* driver to client: a sample */
#define ASTROLAB_BUTTON_PRESS_EVENT "ButtonPressEvent"     /* driver to client */
#define ASTROLAB_BUTTON_RELEASE_EVENT "ButtonReleaseEvent" /* driver to client */
#define ASTROLAB_COMMAND_EVENT "CommandEvent"              /* wParam code, lParam argument */

/* "CommandEvent" codes a client sends to the driver's window (wParam), with the
 * meaning of lParam. Codes not listed are ignored; 27698 is reserved and does
 * nothing. The driver's answer carries no meaning (CmdEnablePanelMenu answers 0). */
enum AstrolabCommand {
  /* lParam: new mouse emulation flags (MouseMode* below); only the low byte counts. */
  CmdSetMouseMode = 27600,
  /* lParam: AstrolabMouseDivisors(first, second). A divisor of 0 leaves that divisor
   * as it was. */
  CmdSetMouseDivisors = 27601,
  /* lParam: the window that is to receive the events. */
  CmdSetClientWindow = 27695,
  /* lParam: the client's overall sensitivity as an IEEE single-precision float
   * (AstrolabSensitivityWord); the driver's control panel shows it. */
  CmdReportSensitivity = 27696,
  /* lParam: beep duration in milliseconds. The driver's message handling stops for
   * the beep's length (32 to 2000 ms). */
  CmdBeep = 27697,
  /* lParam 1: the device's own mode keys may change its 3D modes; 0: the driver
   * puts its stored mode back whenever the device reports another. */
  CmdSetModeChangeable = 27699,
  /* lParam 1 or 0: the same choice for the device's "n" setting. */
  CmdSetNChangeable = 27700,
  /* lParam 0 greys the "Panel" item of the driver's menu, any other value enables
   * it; the driver's window is minimised. */
  CmdEnablePanelMenu = 27701,
  /* lParam: AstrolabDeviceCommandWord(text): up to four raw bytes for the
   * controller, for example "z\r". The driver waits 100 ms after writing them. */
  CmdDeviceCommand = 27702
};

/* "CommandEvent" codes the driver posts to its own control panel. A client that
 * sees them has nothing to do with them; they are listed so that no client uses
 * them for anything else. */
enum AstrolabNote {
  NoteDeviceMode = 17633,     /* lParam: mode nibble; bit 0 rotation, 1 translation,
                                 2 dominant axis */
  NoteDeviceN = 17634,        /* lParam: the device's "n" nibble */
  NoteDeviceModeExtra = 17635 /* lParam: second nibble of a long mode report */
};

/* Bits of the mouse emulation flags (CmdSetMouseMode). The driver starts with
 * MouseModeDefault. The motion bits move the pointer or the wheel by the raw
 * axis values divided by the divisors of CmdSetMouseDivisors. */
enum AstrolabMouseMode {
  MouseModeTranslation = 1, /* pointer: horizontal +X, vertical -Y (first divisor) */
  MouseModeRotation = 2,    /* pointer: horizontal -C, vertical +A (second divisor) */
  MouseModeWheel = 4,       /* the wheel turns by Z instead of the pointer moving */
  MouseModeButtons = 8,     /* device buttons 1 to 8 act as mouse buttons */
  MouseModeSlanted = 16,    /* pointer: horizontal +X -B, vertical +Z (first divisor) */
  MouseModeMotionBits = 1 | 2 | 4 | 16,
  MouseModeDefault = 8 | 16
};

/* Motion payload: wParam carries X, Y, Z and lParam A, B, C, each word three
 * two's-complement fields, lowest first: 11 bits, 11 bits, 10 bits. */
#define ASTROLAB_WIDE_FIELD_MIN (-1024)
#define ASTROLAB_WIDE_FIELD_MAX 1023
#define ASTROLAB_NARROW_FIELD_MIN (-512)
#define ASTROLAB_NARROW_FIELD_MAX 511

static inline int32_t AstrolabClamp(int32_t value, int32_t low, int32_t high) {
  return value < low ? low : (value > high ? high : value);
}

/* Packs three values into one motion word, clamping each to its field's range:
 * the first two to -1024..1023, the third to -512..511. */
static inline uint32_t AstrolabPackMotionWord(int32_t first, int32_t second, int32_t third) {
  const uint32_t a =
      (uint32_t)AstrolabClamp(first, ASTROLAB_WIDE_FIELD_MIN, ASTROLAB_WIDE_FIELD_MAX);
  const uint32_t b =
      (uint32_t)AstrolabClamp(second, ASTROLAB_WIDE_FIELD_MIN, ASTROLAB_WIDE_FIELD_MAX);
  const uint32_t c =
      (uint32_t)AstrolabClamp(third, ASTROLAB_NARROW_FIELD_MIN, ASTROLAB_NARROW_FIELD_MAX);
  return (a & 0x7FFu) | ((b & 0x7FFu) << 11) | ((c & 0x3FFu) << 22);
}

/* The field of `bits` bits that starts at bit `shift`, sign-extended. */
static inline int32_t AstrolabSignedField(uint32_t word, unsigned shift, unsigned bits) {
  const uint32_t field = (word >> shift) & ((1u << bits) - 1u);
  const uint32_t sign = 1u << (bits - 1u);
  return (int32_t)(field ^ sign) - (int32_t)sign;
}

/* Field 0, 1 or 2 of a motion word: X, Y, Z of wParam or A, B, C of lParam. */
static inline int32_t AstrolabMotionField(uint32_t word, int index) {
  return index == 0   ? AstrolabSignedField(word, 0, 11)
         : index == 1 ? AstrolabSignedField(word, 11, 11)
                      : AstrolabSignedField(word, 22, 10);
}

/* The six axes of a "MotionEvent": axes[0..5] = X, Y, Z, A, B, C. X, Y, A and B
 * lie in -1024..1023, Z and C in -512..511; they are device counts without unit. */
static inline void AstrolabUnpackMotion(uint32_t wParam, uint32_t lParam, int32_t axes[6]) {
  int i;
  for (i = 0; i < 3; ++i) {
    axes[i] = AstrolabMotionField(wParam, i);
    axes[i + 3] = AstrolabMotionField(lParam, i);
  }
}

/* Button payload of "ButtonPressEvent" and "ButtonReleaseEvent": wParam is the
 * button number, 1 to 12 (1 to 8, then "*", "+", "-" and the Hintview button);
 * lParam the mask of the buttons down after the change, bit n-1 for button n. */
#define ASTROLAB_BUTTON_COUNT 12

/* 1 when button n (1 to 12) is down in the mask, else 0. */
static inline int AstrolabButtonDown(uint32_t mask, int button) {
  return button >= 1 && button <= ASTROLAB_BUTTON_COUNT ? (int)((mask >> (button - 1)) & 1u) : 0;
}

/* The lParam of CmdSetMouseDivisors: the first divisor (translations, and the B
 * term of MouseModeSlanted) in the low 16 bits, the second (rotations) above it. */
static inline uint32_t AstrolabMouseDivisors(uint16_t first, uint16_t second) {
  return (uint32_t)first | ((uint32_t)second << 16);
}
static inline uint16_t AstrolabFirstDivisor(uint32_t word) {
  return (uint16_t)(word & 0xFFFFu);
}
static inline uint16_t AstrolabSecondDivisor(uint32_t word) {
  return (uint16_t)(word >> 16);
}

/* The lParam of CmdReportSensitivity and back. */
static inline uint32_t AstrolabSensitivityWord(float sensitivity) {
  uint32_t word;
  memcpy(&word, &sensitivity, sizeof word);
  return word;
}
static inline float AstrolabSensitivityValue(uint32_t word) {
  float sensitivity;
  memcpy(&sensitivity, &word, sizeof sensitivity);
  return sensitivity;
}

/* The lParam of CmdDeviceCommand: the first up to four bytes of text, the first
 * in the most significant byte. The driver writes the bytes from the most
 * significant down and stops at the first zero byte, so a text of four bytes is
 * sent whole and a shorter one ends there. Bytes are passed on unchanged. */
static inline uint32_t AstrolabDeviceCommandWord(const char* text) {
  uint32_t word = 0;
  int i;
  int ended = 0;
  for (i = 0; i < 4; ++i) {
    const uint32_t byte = ended ? 0u : (uint32_t)(unsigned char)text[i];
    if (byte == 0) ended = 1;
    word |= byte << (8 * (3 - i));
  }
  return word;
}

/* The bytes the driver writes for a CmdDeviceCommand word: stores up to four
 * bytes in out and returns how many. */
static inline int AstrolabDeviceCommandBytes(uint32_t word, char out[4]) {
  int count = 0;
  while (count < 4) {
    const uint32_t byte = (word >> (8 * (3 - count))) & 0xFFu;
    if (byte == 0) break;
    out[count++] = (char)(unsigned char)byte;
  }
  return count;
}

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* ASTROLAB_CLIENT_H */
