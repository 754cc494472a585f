// A console client of the driver for the end-to-end tests: announces a hidden
// window as the driver's target and prints every message the driver sends it.
//   test_client.exe [--mouse-mode N] [--seconds S] [--title T]
#include "client/console_client.h"

namespace {

client::Session session;

LRESULT CALLBACK ClientWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session.Record(message, wParam, lParam)) return 0;
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  client::Options options;
  options.title = "Astrolab test client";
  if (!client::ParseOptions(argc, argv, true, true, &options) || options.title[0] == '\0') {
    std::fprintf(stderr, "usage: test_client [--mouse-mode N] [--seconds S] [--title T]\n");
    return 1;
  }
  if (client::StartClient(&session, "AstrolabTestClient", options.title, ClientWindowProcedure, 320,
                          200, options.mouseMode) == nullptr) {
    return 1;
  }
  client::RunMessageLoop(options.seconds, &session);
  session.PrintSummary();
  return 0;
}
