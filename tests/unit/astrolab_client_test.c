/* Compiles the client header as C (C99), the way a plug-in author in C uses it,
 * and gives the C++ tests the results to compare. */
#include "client/astrolab_client.h"

int AstrolabClientCheckFromC(int32_t axes[6], uint32_t* divisors, uint32_t* deviceWord,
                             int* commandCode, float* sensitivity) {
  const uint32_t wParam = AstrolabPackMotionWord(5000, -5000, -3);
  const uint32_t lParam = AstrolabPackMotionWord(-1, 1023, -5000);
  AstrolabUnpackMotion(wParam, lParam, axes);
  *divisors = AstrolabMouseDivisors(20, 3);
  *deviceWord = AstrolabDeviceCommandWord("z\r");
  *commandCode = CmdDeviceCommand;
  *sensitivity = AstrolabSensitivityValue(AstrolabSensitivityWord(0.25f));
  return AstrolabButtonDown(0x0800u, 12) + MouseModeDefault;
}
