// A 3D client of the driver for demonstrations: a shaded cube that the
// controller's motion moves and turns, the twelve buttons as lamps, the mouse
// mode it asked for, the last sample and the message counts. Prints every message
// like the test client; for the demo script also WINDOW x y width height (its
// client area on the screen) once, VIEW motions offset obliqueness degrees (turned
// from rest) buttons (the mask) whenever the picture changes, and SUMMARY at the
// end.
//   cube_client.exe [--seconds S] [--mouse-mode N]   (mouse mode 0 unless given)
#include <algorithm>

#include "client/console_client.h"
#include "client/cube_geometry.h"

namespace {

namespace cube = client::cube;

client::Session session;
const cube::Tuning kTuning;
cube::Pose pose = cube::HomePose();
std::int32_t lastAxes[6] = {};
std::uint32_t buttonMask = 0;
int mouseMode = 0;
bool dirty = true;
ULONGLONG lastTick = 0;
ULONGLONG lastMoveTick = 0;  // the last sample with any axis off zero
char lastView[80] = "";
HFONT titleFont, labelFont, smallFont;

constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFramePeriodMs = 33;  // about 30 frames a second
constexpr int kPanelWidth = 220;
constexpr ULONGLONG kLetGoMs = 400;  // this long without motion, the cube turns back to rest
constexpr double kAmbient = 0.42;
const cube::Vec3 kTowardLight = cube::Normalized(cube::Vec3{-0.4, 0.6, 0.8});  // upper left

constexpr COLORREF kSkyTop = RGB(0x1b, 0x22, 0x30), kSkyBottom = RGB(0x3a, 0x47, 0x5f);
constexpr COLORREF kShadow = RGB(0x16, 0x1b, 0x26), kEdge = RGB(0x0e, 0x12, 0x1a);
constexpr COLORREF kPanel = RGB(0x13, 0x17, 0x1f), kText = RGB(0xe8, 0xec, 0xf2);
constexpr COLORREF kDim = RGB(0x84, 0x8f, 0xa3), kAccent = RGB(0x5c, 0xc8, 0xff);
constexpr COLORREF kLampOff = RGB(0x2a, 0x31, 0x3e), kLampOffRing = RGB(0x3d, 0x47, 0x59);
constexpr COLORREF kLampOn = RGB(0xff, 0xb3, 0x1f), kLampOnRing = RGB(0xff, 0xe0, 0x9a);
constexpr COLORREF kOnText = RGB(0x2b, 0x1d, 0x00);
// 0xRRGGBB in kFaces order: right, left, top, bottom, front, back.
constexpr std::uint32_t kFaceColours[6] = {0xF07A3A, 0x3A8FF0, 0xF5C842,
                                           0x8A63D2, 0x3CC48C, 0xE8508A};

COLORREF FromRgb(std::uint32_t rgb) {
  return RGB(rgb >> 16 & 0xFF, rgb >> 8 & 0xFF, rgb & 0xFF);
}

HFONT MakeFont(int pixels, int weight) {
  return CreateFontA(-pixels, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "Tahoma");
}

void Text(HDC dc, int x, int y, HFONT font, COLORREF colour, const char* text) {
  SelectObject(dc, font);
  SetTextColor(dc, colour);
  TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

void CentredText(HDC dc, RECT box, HFONT font, COLORREF colour, const char* text) {
  SelectObject(dc, font);
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
  const RECT box{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &box, brush);
  DeleteObject(brush);
}

// Draws with a filled shape's brush and outline pen, then puts the old ones back.
template <typename Draw>
void WithBrushAndPen(HDC dc, COLORREF fill, COLORREF outline, int width, Draw draw) {
  HBRUSH brush = CreateSolidBrush(fill);
  HPEN pen = CreatePen(PS_SOLID, width, outline);
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  draw();
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(brush);
  DeleteObject(pen);
}

int Mix(int from, int to, int step, int steps) {
  return from + (to - from) * step / steps;
}

// The backdrop, the cube's shadow on an imagined floor, the cube, the titles.
void DrawScene(HDC dc, const RECT& area) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  constexpr int kBands = 48;
  for (int band = 0; band < kBands; ++band) {
    const COLORREF colour = RGB(Mix(GetRValue(kSkyTop), GetRValue(kSkyBottom), band, kBands - 1),
                                Mix(GetGValue(kSkyTop), GetGValue(kSkyBottom), band, kBands - 1),
                                Mix(GetBValue(kSkyTop), GetBValue(kSkyBottom), band, kBands - 1));
    FillBox(dc, area.left, area.top + height * band / kBands, area.right,
            area.top + height * (band + 1) / kBands, colour);
  }
  cube::Camera camera;
  camera.centreX = area.left + width / 2.0;
  camera.centreY = area.top + height / 2.0 + 8;
  camera.focal = camera.distance * std::min(width, height) / 7.0;

  const cube::Point2 foot = cube::Project(camera, {pose.position.x, -2.4, pose.position.z});
  const double unit = camera.focal / (camera.distance - pose.position.z);
  const int rx = static_cast<int>(1.5 * unit), ry = static_cast<int>(0.28 * unit);
  const int fx = static_cast<int>(foot.x), fy = static_cast<int>(foot.y);
  WithBrushAndPen(dc, kShadow, kShadow, 1,
                  [&] { Ellipse(dc, fx - rx, fy - ry, fx + rx, fy + ry); });

  cube::VisibleFace faces[6];
  const int count = cube::VisibleFaces(pose, camera, kTowardLight, kAmbient, faces);
  for (int i = 0; i < count; ++i) {
    POINT corners[4];
    for (int c = 0; c < 4; ++c) {
      corners[c] = {static_cast<LONG>(faces[i].corners[c].x + 0.5),
                    static_cast<LONG>(faces[i].corners[c].y + 0.5)};
    }
    const COLORREF fill = FromRgb(cube::Shade(kFaceColours[faces[i].face], faces[i].brightness));
    WithBrushAndPen(dc, fill, kEdge, 2, [&] { Polygon(dc, corners, 4); });
  }

  Text(dc, area.left + 18, area.top + 14, titleFont, kText, "Astrolab 3D controller");
  Text(dc, area.left + 18, area.top + 40, smallFont, kDim, "Push, pull and twist the cap");
  char line[128];
  std::snprintf(line, sizeof line, "Motion %lu    Press %lu    Release %lu    Command %lu",
                session.Count(client::kMotionEvent), session.Count(client::kButtonPressEvent),
                session.Count(client::kButtonReleaseEvent), session.Count(client::kCommandEvent));
  Text(dc, area.left + 18, area.bottom - 28, smallFont, kDim, line);
}

// Twelve lamps, four to a row, lit while their button is held.
int DrawLamps(HDC dc, int left, int top) {
  Text(dc, left, top, smallFont, kDim, "BUTTONS");
  constexpr int kRadius = 17, kPitch = 46;
  for (int button = 1; button <= ASTROLAB_BUTTON_COUNT; ++button) {
    const int cx = left + kRadius + (button - 1) % 4 * kPitch;
    const int cy = top + 22 + kRadius + (button - 1) / 4 * kPitch;
    const bool on = AstrolabButtonDown(buttonMask, button) != 0;
    WithBrushAndPen(dc, on ? kLampOn : kLampOff, on ? kLampOnRing : kLampOffRing, 2, [&] {
      Ellipse(dc, cx - kRadius, cy - kRadius, cx + kRadius + 1, cy + kRadius + 1);
    });
    char label[4];
    std::snprintf(label, sizeof label, "%d", button);
    CentredText(dc, {cx - kRadius, cy - kRadius, cx + kRadius, cy + kRadius}, labelFont,
                on ? kOnText : kDim, label);
  }
  return top + 22 + 3 * kPitch;
}

// The mode the client asked for, and its bits as tags, lit when set.
int DrawMouseMode(HDC dc, int left, int top, int right) {
  Text(dc, left, top, smallFont, kDim, "MOUSE MODE");
  char value[48];
  if (mouseMode < 0) {
    std::snprintf(value, sizeof value, "as the driver had it");
  } else {
    std::snprintf(value, sizeof value, "0x%02X  %s", mouseMode,
                  (mouseMode & 0xFF) == 0 ? "no mouse emulation" : "");
  }
  Text(dc, left, top + 18, labelFont, kText, value);
  static const struct {
    int bit;
    const char* name;
  } kBits[] = {{MouseModeTranslation, "translation"},
               {MouseModeRotation, "rotation"},
               {MouseModeWheel, "wheel"},
               {MouseModeButtons, "buttons"},
               {MouseModeSlanted, "slanted"}};
  SelectObject(dc, smallFont);
  int x = left, y = top + 42;
  for (const auto& bit : kBits) {
    SIZE size;
    GetTextExtentPoint32A(dc, bit.name, static_cast<int>(std::strlen(bit.name)), &size);
    const int width = size.cx + 14;
    if (x + width > right) x = left, y += 24;
    const bool set = mouseMode >= 0 && (mouseMode & bit.bit) != 0;
    WithBrushAndPen(dc, set ? kAccent : kPanel, set ? kAccent : kLampOffRing, 1,
                    [&] { RoundRect(dc, x, y, x + width, y + 20, 8, 8); });
    CentredText(dc, {x, y, x + width, y + 20}, smallFont, set ? kEdge : kDim, bit.name);
    x += width + 6;
  }
  return y + 20;
}

// The last motion sample, one bar per axis out from the middle.
void DrawAxes(HDC dc, int left, int top, int right) {
  Text(dc, left, top, smallFont, kDim, "LAST SAMPLE");
  static const char kNames[] = "XYZABC";
  const int barLeft = left + 18, barRight = right - 46, middle = (barLeft + barRight) / 2;
  for (int axis = 0; axis < 6; ++axis) {
    const int y = top + 22 + axis * 20;
    const char name[2] = {kNames[axis], '\0'};
    Text(dc, left, y, labelFont, kText, name);
    FillBox(dc, barLeft, y + 5, barRight, y + 13, kLampOff);
    const int limit = axis == 2 || axis == 5 ? 512 : 1024;
    const int end = middle + (barRight - middle) * lastAxes[axis] / limit;
    FillBox(dc, std::min(middle, end), y + 5, std::max(middle, end) + 1, y + 13, kAccent);
    FillBox(dc, middle, y + 3, middle + 1, y + 15, kDim);
    char number[16];
    std::snprintf(number, sizeof number, "%d", static_cast<int>(lastAxes[axis]));
    Text(dc, barRight + 8, y, smallFont, kText, number);
  }
}

void DrawPanel(HDC dc, const RECT& area) {
  FillBox(dc, area.left, area.top, area.right, area.bottom, kPanel);
  const int left = area.left + 18, right = area.right - 14;
  int y = DrawLamps(dc, left, area.top + 16) + 18;
  y = DrawMouseMode(dc, left, y, right) + 18;
  DrawAxes(dc, left, y, right);
}

// Tells the demo script how the picture stands, when that changed.
void ReportView() {
  const double turned = cube::AngleBetween(pose.orientation, cube::HomePose().orientation);
  char view[sizeof lastView];
  std::snprintf(view, sizeof view, "VIEW %lu %.2f %.2f %.0f %u",
                session.Count(client::kMotionEvent), cube::Length(pose.position),
                cube::Obliqueness(pose), turned * 180 / cube::kPi,
                static_cast<unsigned>(buttonMask));
  if (std::strcmp(view, lastView) == 0) return;
  std::strcpy(lastView, view);
  std::printf("%s\n", view);
  std::fflush(stdout);
}

// Drawn off screen and copied in one piece, so the window never flickers.
void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT area;
  GetClientRect(window, &area);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  HGDIOBJ oldFont = SelectObject(memory, smallFont);
  SetBkMode(memory, TRANSPARENT);
  RECT scene = area;
  scene.right = std::max(0L, area.right - kPanelWidth);
  RECT panel = area;
  panel.left = scene.right;
  DrawScene(memory, scene);
  DrawPanel(memory, panel);
  BitBlt(dc, 0, 0, area.right, area.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, oldFont);
  SelectObject(memory, oldBitmap);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window, &paint);
  ReportView();
}

LRESULT CALLBACK CubeWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (session.Record(window, message, wParam, lParam)) {
    const int kind = session.LastKind();
    if (kind == client::kMotionEvent) {
      AstrolabUnpackMotion(session.LastWParam(), session.LastLParam(), lastAxes);
      cube::ApplyMotion(&pose, lastAxes, kTuning);
      if (std::any_of(lastAxes, lastAxes + 6, [](std::int32_t v) { return v != 0; })) {
        lastMoveTick = GetTickCount64();
      }
    } else if (kind == client::kButtonPressEvent || kind == client::kButtonReleaseEvent) {
      buttonMask = session.LastLParam() & 0xFFF;
    }
    dirty = true;
    return 0;
  }
  switch (message) {
    case WM_TIMER:
      if (wParam == kFrameTimer) {
        const ULONGLONG now = GetTickCount64();
        const double seconds = static_cast<double>(now - lastTick) / 1000.0;
        lastTick = now;
        cube::Recentre(&pose, seconds, kTuning);
        if (now - lastMoveTick > kLetGoMs) cube::Unturn(&pose, seconds, kTuning);
        // Still springing back: that needs frames too.
        if (dirty || cube::Length(pose.position) > 1e-3 ||
            cube::AngleBetween(pose.orientation, cube::HomePose().orientation) > 1e-3) {
          dirty = false;
          InvalidateRect(window, nullptr, FALSE);
        }
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint covers every pixel
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

// Centres the window on the screen and prints where its client area landed.
void PlaceWindow(HWND own) {
  RECT frame;
  GetWindowRect(own, &frame);
  const int x = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left)) / 2;
  const int y = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top)) / 2;
  SetWindowPos(own, nullptr, std::max(0, x), std::max(0, y), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(own, SW_SHOWNORMAL);
  UpdateWindow(own);
  RECT area;
  GetClientRect(own, &area);
  POINT origin{0, 0};
  ClientToScreen(own, &origin);
  std::printf("WINDOW %ld %ld %ld %ld\n", origin.x, origin.y, area.right, area.bottom);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  client::Options options;
  options.mouseMode = 0;  // a 3D client wants the motion itself, not a moving pointer
  if (!client::ParseOptions(argc, argv, true, false, &options)) {
    std::fprintf(stderr, "usage: cube_client [--seconds S] [--mouse-mode N]\n");
    return 1;
  }
  mouseMode = options.mouseMode;
  titleFont = MakeFont(20, FW_BOLD);
  labelFont = MakeFont(14, FW_BOLD);
  smallFont = MakeFont(12, FW_NORMAL);
  HWND own = client::StartClient(&session, "AstrolabCubeClient", "Astrolab cube client",
                                 CubeWindowProcedure, 640, 480, options.mouseMode);
  if (own == nullptr) return 1;
  lastTick = GetTickCount64();
  SetTimer(own, kFrameTimer, kFramePeriodMs, nullptr);
  PlaceWindow(own);
  client::RunMessageLoop(options.seconds, &session);
  session.PrintSummary();
  return 0;
}
