// The cube client's geometry: the pose that the controller's motion gives the
// cube, and what of the cube a viewer sees. No <windows.h>, so that it is tested
// natively.
//
// View space is right-handed: x to the right, y up, z towards the viewer, the
// same directions as the controller's X, Y, Z; A, B, C turn about x, y, z.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace client {
namespace cube {

constexpr double kPi = 3.14159265358979323846;

struct Vec3 {
  double x = 0, y = 0, z = 0;
};
inline Vec3 operator+(Vec3 a, Vec3 b) {
  return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
  return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(double s, Vec3 v) {
  return {s * v.x, s * v.y, s * v.z};
}
inline double Dot(Vec3 a, Vec3 b) {
  return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline double Length(Vec3 v) {
  return std::sqrt(Dot(v, v));
}
inline Vec3 Normalized(Vec3 v) {
  return (1.0 / Length(v)) * v;
}

// A unit quaternion. a * b turns by b first, then by a.
struct Quat {
  double w = 1, x = 0, y = 0, z = 0;
};
inline Quat operator*(Quat a, Quat b) {
  return {
      a.w * b.w - a.x * b.x - a.y * b.y - a.z * b.z, a.w * b.x + a.x * b.w + a.y * b.z - a.z * b.y,
      a.w * b.y - a.x * b.z + a.y * b.w + a.z * b.x, a.w * b.z + a.x * b.y - a.y * b.x + a.z * b.w};
}
inline Quat Normalized(Quat q) {
  const double n = std::sqrt(q.w * q.w + q.x * q.x + q.y * q.y + q.z * q.z);
  return {q.w / n, q.x / n, q.y / n, q.z / n};
}
// A turn of |v| radians about v, counter-clockwise when v points at the viewer.
inline Quat FromRotationVector(Vec3 v) {
  const double angle = Length(v);
  if (angle < 1e-12) return {};
  const double s = std::sin(angle / 2) / angle;
  return {std::cos(angle / 2), s * v.x, s * v.y, s * v.z};
}
// The inverse: axis times angle, the angle in 0..pi.
inline Vec3 ToRotationVector(Quat q) {
  if (q.w < 0) q = {-q.w, -q.x, -q.y, -q.z};  // the shorter way round
  const Vec3 axis{q.x, q.y, q.z};
  const double half = Length(axis);
  if (half < 1e-12) return {};
  return (2 * std::atan2(half, q.w) / half) * axis;
}
inline Vec3 Rotate(Quat q, Vec3 v) {
  const Quat p = q * Quat{0, v.x, v.y, v.z} * Quat{q.w, -q.x, -q.y, -q.z};
  return {p.x, p.y, p.z};
}

// The angle in radians of the turn that takes orientation a to b (0..pi); q and -q
// are the same orientation.
inline double AngleBetween(Quat a, Quat b) {
  const double dot = a.w * b.w + a.x * b.x + a.y * b.y + a.z * b.z;
  return 2 * std::acos(std::min(1.0, std::abs(dot)));
}

// The cube spans -1..1 on each axis. Each face lists its corners counter-clockwise
// as seen from outside, with its outward normal.
struct Face {
  Vec3 normal;
  Vec3 corners[4];
};
constexpr Face kFaces[6] = {
    {{1, 0, 0}, {{1, -1, 1}, {1, -1, -1}, {1, 1, -1}, {1, 1, 1}}},
    {{-1, 0, 0}, {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}}},
    {{0, 1, 0}, {{-1, 1, 1}, {1, 1, 1}, {1, 1, -1}, {-1, 1, -1}}},
    {{0, -1, 0}, {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}}},
    {{0, 0, 1}, {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}}},
    {{0, 0, -1}, {{1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}}},
};

struct Pose {
  Vec3 position;
  Quat orientation;
};

// Where the cube rests: centred, turned so that its front, top and right faces show.
inline Pose HomePose() {
  return {{}, FromRotationVector({0.45, 0, 0}) * FromRotationVector({0, -0.6, 0})};
}

// A pinhole camera at (0, 0, distance) looking down -z; screen y grows downwards.
struct Camera {
  double distance = 8;
  double focal = 400;  // pixels per unit at depth `distance`
  double centreX = 0, centreY = 0;
};
struct Point2 {
  double x = 0, y = 0;
};
inline Point2 Project(const Camera& camera, Vec3 p) {
  const double scale = camera.focal / (camera.distance - p.z);
  return {camera.centreX + scale * p.x, camera.centreY - scale * p.y};
}

// Light reaching a face: `ambient` everywhere, the rest in proportion to the cosine
// between the face's normal and the direction towards the light (both unit).
inline double Brightness(Vec3 normal, Vec3 towardLight, double ambient) {
  return ambient + (1 - ambient) * std::max(0.0, Dot(normal, towardLight));
}
// 0xRRGGBB with each channel scaled by brightness (0..1), rounded.
inline std::uint32_t Shade(std::uint32_t rgb, double brightness) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const double channel = static_cast<double>((rgb >> shift) & 0xFFu) * brightness;
    out |= static_cast<std::uint32_t>(std::lround(std::clamp(channel, 0.0, 255.0))) << shift;
  }
  return out;
}

struct VisibleFace {
  int face = 0;  // index into kFaces
  Point2 corners[4];
  double distance = 0;  // from the camera to the face's centre
  double brightness = 0;
};

// The faces turned towards the camera, farthest first, so that painting them in
// order leaves the nearest on top. Returns how many there are (at most 3).
inline int VisibleFaces(const Pose& pose, const Camera& camera, Vec3 towardLight, double ambient,
                        VisibleFace out[6]) {
  const Vec3 eye{0, 0, camera.distance};
  int count = 0;
  for (int f = 0; f < 6; ++f) {
    const Vec3 normal = Rotate(pose.orientation, kFaces[f].normal);
    const Vec3 centre = pose.position + normal;
    if (Dot(normal, eye - centre) <= 0) continue;
    VisibleFace& v = out[count++];
    v.face = f;
    for (int c = 0; c < 4; ++c) {
      v.corners[c] =
          Project(camera, pose.position + Rotate(pose.orientation, kFaces[f].corners[c]));
    }
    v.distance = Length(eye - centre);
    v.brightness = Brightness(normal, towardLight, ambient);
  }
  std::sort(out, out + count,
            [](const VisibleFace& a, const VisibleFace& b) { return a.distance > b.distance; });
  return count;
}

// How the controller's counts drive the cube. Each motion sample is a velocity
// held for sampleSeconds (the controller's packet interval).
struct Tuning {
  double unitsPerCountSecond = 0.0016;    // translation
  double radiansPerCountSecond = 0.0024;  // rotation
  double sampleSeconds = 0.02;
  double springSeconds = 0.8;      // time constant of the pull back to the centre
  double turnSpringSeconds = 0.9;  // and of the turn back to rest, once left alone
  Vec3 low{-1.5, -1.1, -3.0};      // the centre stays inside this box
  Vec3 high{1.5, 1.1, 1.0};
};

// One "MotionEvent" sample, axes X, Y, Z, A, B, C. The turn is about the view's
// axes (premultiplied), so a push of the cap turns the cube the same way whatever
// its orientation.
inline void ApplyMotion(Pose* pose, const std::int32_t axes[6], const Tuning& tuning) {
  const double t = tuning.unitsPerCountSecond * tuning.sampleSeconds;
  const double r = tuning.radiansPerCountSecond * tuning.sampleSeconds;
  const Vec3 p =
      pose->position + t * Vec3{static_cast<double>(axes[0]), static_cast<double>(axes[1]),
                                static_cast<double>(axes[2])};
  pose->position = {std::clamp(p.x, tuning.low.x, tuning.high.x),
                    std::clamp(p.y, tuning.low.y, tuning.high.y),
                    std::clamp(p.z, tuning.low.z, tuning.high.z)};
  const Vec3 turn = r * Vec3{static_cast<double>(axes[3]), static_cast<double>(axes[4]),
                             static_cast<double>(axes[5])};
  pose->orientation = Normalized(FromRotationVector(turn) * pose->orientation);
}

// Lets `seconds` pass: the position decays towards the centre.
inline void Recentre(Pose* pose, double seconds, const Tuning& tuning) {
  pose->position = std::exp(-seconds / tuning.springSeconds) * pose->position;
}

// Lets `seconds` pass with the cap let go: the turn away from the resting
// orientation shrinks about the same axis, the angle decaying exponentially.
inline void Unturn(Pose* pose, double seconds, const Tuning& tuning) {
  const Quat home = HomePose().orientation;
  const Quat away = pose->orientation * Quat{home.w, -home.x, -home.y, -home.z};
  const double keep = std::exp(-seconds / tuning.turnSpringSeconds);
  pose->orientation = Normalized(FromRotationVector(keep * ToRotationVector(away)) * home);
}

// How far the cube shows three faces at once: the third largest z of its six face
// normals, 0 when at most two faces face the viewer head-on, up to 1/sqrt(3) when
// it is seen corner first.
inline double Obliqueness(const Pose& pose) {
  double z[6];
  for (int f = 0; f < 6; ++f) z[f] = Rotate(pose.orientation, kFaces[f].normal).z;
  std::sort(z, z + 6, [](double a, double b) { return a > b; });
  return std::max(0.0, z[2]);
}

}  // namespace cube
}  // namespace client
