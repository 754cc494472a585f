// A visible client of the driver for demonstrations: shows the message counts,
// the last motion sample and the button mask, and prints every message like the
// test client does.
//   demo_client.exe [--seconds S]
#include "client/console_client.h"

namespace {

client::Session session;
std::int32_t lastAxes[6] = {};
std::uint32_t buttonMask = 0;
bool dirty = false;

constexpr UINT_PTR kRepaintTimer = 1;
constexpr UINT kRepaintPeriodMs = 33;  // at most about 30 repaints a second

// Counts on the left, the last motion sample on the right, the buttons below.
void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  char text[64];
  auto show = [&](int x, int y, int length) { TextOutA(dc, x, y, text, length); };
  constexpr int kTop = 16;
  constexpr int kLineHeight = 22;
  for (int kind = 0; kind < client::kKinds; ++kind) {
    const int y = kTop + kind * kLineHeight;
    show(16, y, std::snprintf(text, sizeof text, "%s", client::kMessageNames[kind]));
    show(150, y, std::snprintf(text, sizeof text, "%lu", session.Count(kind)));
  }
  static const char kAxisNames[] = "XYZABC";
  for (int axis = 0; axis < 6; ++axis) {
    const int y = kTop + axis * kLineHeight;
    show(250, y, std::snprintf(text, sizeof text, "%c", kAxisNames[axis]));
    show(280, y, std::snprintf(text, sizeof text, "%d", static_cast<int>(lastAxes[axis])));
  }
  static const char kButtonLabels[] = "12345678*+-H";
  char bits[13];
  for (int button = 0; button < 12; ++button) {
    bits[button] = (buttonMask >> button) & 1 ? kButtonLabels[button] : '.';
  }
  bits[12] = '\0';
  show(16, kTop + 7 * kLineHeight,
       std::snprintf(text, sizeof text, "Buttons  0x%03X   %s", buttonMask, bits));
  EndPaint(window, &paint);
}

LRESULT CALLBACK DemoWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session.Record(window, message, wParam, lParam)) {
    const int kind = session.LastKind();
    if (kind == client::kMotionEvent) {
      AstrolabUnpackMotion(session.LastWParam(), session.LastLParam(), lastAxes);
    } else if (kind == client::kButtonPressEvent || kind == client::kButtonReleaseEvent) {
      buttonMask = session.LastLParam() & 0xFFF;
    }
    dirty = true;
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kRepaintTimer && dirty) {
        dirty = false;
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int main(int argc, char** argv) {
  client::Options options;
  if (!client::ParseOptions(argc, argv, false, false, &options)) {
    std::fprintf(stderr, "usage: demo_client [--seconds S]\n");
    return 1;
  }
  HWND own = client::StartClient(&session, "AstrolabDemoClient", "Astrolab demo client",
                                 DemoWindowProcedure, 420, 260, options.mouseMode);
  if (own == nullptr) return 1;
  SetTimer(own, kRepaintTimer, kRepaintPeriodMs, nullptr);
  ShowWindow(own, SW_SHOWNORMAL);
  UpdateWindow(own);
  client::RunMessageLoop(options.seconds, &session);
  session.PrintSummary();
  return 0;
}
