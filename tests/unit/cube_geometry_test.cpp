// The cube client's geometry against hand-worked figures: quarter turns, the
// pinhole projection, which faces show, the shading and the motion integration.
#include "client/cube_geometry.h"

#include <gtest/gtest.h>

#include <cmath>

namespace astro::testing {
namespace {

using client::cube::Camera;
using client::cube::FromRotationVector;
using client::cube::kFaces;
using client::cube::kPi;
using client::cube::Pose;
using client::cube::Quat;
using client::cube::Rotate;
using client::cube::Tuning;
using client::cube::Vec3;
using client::cube::VisibleFace;

constexpr double kTolerance = 1e-9;

void ExpectNear(Vec3 actual, Vec3 expected) {
  EXPECT_NEAR(actual.x, expected.x, kTolerance);
  EXPECT_NEAR(actual.y, expected.y, kTolerance);
  EXPECT_NEAR(actual.z, expected.z, kTolerance);
}

// Indices into kFaces, named by outward normal.
constexpr int kRight = 0, kLeft = 1, kTop = 2, kBottom = 3, kFront = 4, kBack = 5;

TEST(CubeGeometryTest, QuarterTurnsFollowTheRightHandRule) {
  const double quarter = kPi / 2;
  ExpectNear(Rotate(FromRotationVector({0, 0, quarter}), {1, 0, 0}), {0, 1, 0});
  ExpectNear(Rotate(FromRotationVector({quarter, 0, 0}), {0, 1, 0}), {0, 0, 1});
  ExpectNear(Rotate(FromRotationVector({0, quarter, 0}), {0, 0, 1}), {1, 0, 0});
  // A half turn about y sends the corner (1, 2, 3) to (-1, 2, -3).
  ExpectNear(Rotate(FromRotationVector({0, kPi, 0}), {1, 2, 3}), {-1, 2, -3});
  // No turn at all leaves a point alone.
  ExpectNear(Rotate(FromRotationVector({0, 0, 0}), {4, -5, 6}), {4, -5, 6});
}

TEST(CubeGeometryTest, AngleBetweenOrientationsIsTheSmallestTurn) {
  const Quat none;
  EXPECT_NEAR(client::cube::AngleBetween(none, FromRotationVector({0, 0, kPi / 2})), kPi / 2,
              kTolerance);
  // Three quarters one way is a quarter the other way.
  EXPECT_NEAR(client::cube::AngleBetween(none, FromRotationVector({3 * kPi / 2, 0, 0})), kPi / 2,
              kTolerance);
  // 30 and 60 degrees about y are 30 degrees apart; q and -q are not apart at all.
  const Quat a = FromRotationVector({0, kPi / 6, 0});
  EXPECT_NEAR(client::cube::AngleBetween(a, FromRotationVector({0, kPi / 3, 0})), kPi / 6,
              kTolerance);
  EXPECT_NEAR(client::cube::AngleBetween(a, Quat{-a.w, -a.x, -a.y, -a.z}), 0, 1e-6);
}

TEST(CubeGeometryTest, ProductTurnsByTheRightFactorFirst) {
  const Quat aboutX = FromRotationVector({kPi / 2, 0, 0});
  const Quat aboutZ = FromRotationVector({0, 0, kPi / 2});
  // z first: (0, 0, 1) stays, then x sends it to (0, -1, 0).
  ExpectNear(Rotate(aboutX * aboutZ, {0, 0, 1}), {0, -1, 0});
  // x first: (0, 0, 1) goes to (0, -1, 0), then z sends that to (1, 0, 0).
  ExpectNear(Rotate(aboutZ * aboutX, {0, 0, 1}), {1, 0, 0});
}

TEST(CubeGeometryTest, FacesWindCounterClockwiseAroundTheirOutwardNormals) {
  for (int f = 0; f < 6; ++f) {
    const Vec3* c = kFaces[f].corners;
    const Vec3 u = c[1] - c[0];
    const Vec3 v = c[2] - c[1];
    const Vec3 cross{u.y * v.z - u.z * v.y, u.z * v.x - u.x * v.z, u.x * v.y - u.y * v.x};
    // Edges of length 2: the cross product is 4 times the unit normal.
    ExpectNear(cross, 4.0 * kFaces[f].normal);
    for (int i = 0; i < 4; ++i) {
      // Every corner lies in the face's plane, one unit out along the normal.
      EXPECT_NEAR(client::cube::Dot(c[i], kFaces[f].normal), 1.0, kTolerance) << f;
    }
  }
}

TEST(CubeGeometryTest, ProjectionDividesByTheDistanceFromTheCamera) {
  Camera camera;
  camera.distance = 7;
  camera.focal = 350;
  camera.centreX = 200;
  camera.centreY = 150;
  // At z = 0 one unit is 350 / 7 = 50 pixels; screen y grows downwards.
  auto p = client::cube::Project(camera, {1, 1, 0});
  EXPECT_NEAR(p.x, 250, kTolerance);
  EXPECT_NEAR(p.y, 100, kTolerance);
  // Two units closer one unit is 350 / 5 = 70 pixels.
  p = client::cube::Project(camera, {1, -2, 2});
  EXPECT_NEAR(p.x, 270, kTolerance);
  EXPECT_NEAR(p.y, 290, kTolerance);
}

TEST(CubeGeometryTest, OnlyFacesTurnedTowardsTheCameraAreDrawn) {
  Camera camera;
  VisibleFace faces[6];
  const Vec3 light{0, 0, 1};
  // Square on at the centre only the front shows; the back and the sides are culled.
  Pose pose;
  ASSERT_EQ(client::cube::VisibleFaces(pose, camera, light, 0.2, faces), 1);
  EXPECT_EQ(faces[0].face, kFront);

  // Turned half round about y the back face comes to the front.
  pose.orientation = FromRotationVector({0, kPi, 0});
  ASSERT_EQ(client::cube::VisibleFaces(pose, camera, light, 0.2, faces), 1);
  EXPECT_EQ(faces[0].face, kBack);

  // Moved three units left and two down, the camera also sees its right side and
  // its top: the right face's centre is at (-2, -2, 0), seen from (0, 0, 8).
  pose = Pose{};
  pose.position = {-3, -2, 0};
  ASSERT_EQ(client::cube::VisibleFaces(pose, camera, light, 0.2, faces), 3);
  bool seen[6] = {};
  for (int i = 0; i < 3; ++i) seen[faces[i].face] = true;
  EXPECT_TRUE(seen[kFront] && seen[kRight] && seen[kTop]);
  EXPECT_FALSE(seen[kLeft] || seen[kBottom] || seen[kBack]);
  // Farthest first: the top's centre is sqrt(9 + 1 + 64) away, the right face's
  // sqrt(4 + 4 + 64), the front's sqrt(9 + 4 + 49).
  EXPECT_EQ(faces[0].face, kTop);
  EXPECT_EQ(faces[1].face, kRight);
  EXPECT_EQ(faces[2].face, kFront);
  EXPECT_NEAR(faces[2].distance, std::sqrt(62.0), kTolerance);
}

TEST(CubeGeometryTest, VisibleFaceCornersAreProjected) {
  Camera camera;
  camera.distance = 5;
  camera.focal = 400;
  camera.centreX = 100;
  camera.centreY = 100;
  VisibleFace faces[6];
  ASSERT_EQ(client::cube::VisibleFaces(Pose{}, camera, {0, 0, 1}, 0.2, faces), 1);
  // The front face lies at z = 1, four units from the camera: 100 pixels a unit.
  EXPECT_NEAR(faces[0].corners[0].x, 0, kTolerance);    // (-1, -1, 1)
  EXPECT_NEAR(faces[0].corners[0].y, 200, kTolerance);  //
  EXPECT_NEAR(faces[0].corners[2].x, 200, kTolerance);  // (1, 1, 1)
  EXPECT_NEAR(faces[0].corners[2].y, 0, kTolerance);
  EXPECT_NEAR(faces[0].brightness, 1.0, kTolerance);  // it faces the light
}

TEST(CubeGeometryTest, FlatShadingFollowsTheCosineAboveTheAmbientLight) {
  const Vec3 light{0, 1, 0};
  EXPECT_NEAR(client::cube::Brightness({0, 1, 0}, light, 0.3), 1.0, kTolerance);
  EXPECT_NEAR(client::cube::Brightness({1, 0, 0}, light, 0.3), 0.3, kTolerance);
  EXPECT_NEAR(client::cube::Brightness({0, -1, 0}, light, 0.3), 0.3, kTolerance);
  // 60 degrees off the light: cos = 1/2, so 0.3 + 0.7 / 2.
  EXPECT_NEAR(client::cube::Brightness({std::sqrt(3.0) / 2, 0.5, 0}, light, 0.3), 0.65, kTolerance);

  EXPECT_EQ(client::cube::Shade(0xC86432, 0.5), 0x643219u);  // 200, 100, 50 halved
  EXPECT_EQ(client::cube::Shade(0xFF0080, 0.5), 0x800040u);  // 127.5 rounds up, 64 exactly
  EXPECT_EQ(client::cube::Shade(0x123456, 1.0), 0x123456u);
  EXPECT_EQ(client::cube::Shade(0xFFFFFF, 0.0), 0x000000u);
}

TEST(CubeGeometryTest, MotionSamplesAreVelocitiesAboutTheViewAxes) {
  Tuning tuning;
  tuning.unitsPerCountSecond = 0.002;
  tuning.radiansPerCountSecond = kPi / 2000;
  tuning.sampleSeconds = 1;
  Pose pose;
  // X 100 for one second at 0.002 units a count: 0.2 units; Z -50: -0.1.
  const std::int32_t push[6] = {100, 0, -50, 0, 0, 0};
  client::cube::ApplyMotion(&pose, push, tuning);
  ExpectNear(pose.position, {0.2, 0, -0.1});

  // C 500 twice: a quarter turn about z. Then A 500 twice: a quarter turn about the
  // view's x, whatever the cube's own axes are by then.
  const std::int32_t twist[6] = {0, 0, 0, 0, 0, 500};
  const std::int32_t tilt[6] = {0, 0, 0, 500, 0, 0};
  client::cube::ApplyMotion(&pose, twist, tuning);
  client::cube::ApplyMotion(&pose, twist, tuning);
  ExpectNear(Rotate(pose.orientation, {1, 0, 0}), {0, 1, 0});
  client::cube::ApplyMotion(&pose, tilt, tuning);
  client::cube::ApplyMotion(&pose, tilt, tuning);
  ExpectNear(Rotate(pose.orientation, {1, 0, 0}), {0, 0, 1});
  ExpectNear(pose.position, {0.2, 0, -0.1});  // turning does not move it
}

TEST(CubeGeometryTest, TheCubeStaysInItsBoxAndSpringsBackToTheCentre) {
  Tuning tuning;  // box x -1.5..1.5, y -1.1..1.1, z -3..1
  Pose pose;
  const std::int32_t far[6] = {1023, -1024, 511, 0, 0, 0};
  for (int i = 0; i < 1000; ++i) client::cube::ApplyMotion(&pose, far, tuning);
  ExpectNear(pose.position, {1.5, -1.1, 1.0});

  tuning.springSeconds = 2;
  client::cube::Recentre(&pose, 2, tuning);  // one time constant: a factor 1/e
  ExpectNear(pose.position, {1.5 / std::exp(1.0), -1.1 / std::exp(1.0), 1.0 / std::exp(1.0)});
  client::cube::Recentre(&pose, 100, tuning);
  EXPECT_LT(client::cube::Length(pose.position), 1e-9);
}

TEST(CubeGeometryTest, LetGoTheCubeTurnsBackToRestAboutTheSameAxis) {
  Tuning tuning;
  tuning.turnSpringSeconds = 0.5;
  const Quat home = client::cube::HomePose().orientation;
  Pose pose;
  pose.position = {0.5, 0, 0};
  // 1.5 radians about z away from rest; after one time constant 1.5 / e remain.
  pose.orientation = FromRotationVector({0, 0, 1.5}) * home;
  client::cube::Unturn(&pose, 0.5, tuning);
  const Quat expected = FromRotationVector({0, 0, 1.5 / std::exp(1.0)}) * home;
  EXPECT_NEAR(client::cube::AngleBetween(pose.orientation, expected), 0, 1e-6);
  ExpectNear(pose.position, {0.5, 0, 0});  // the position is not its business
  // The same in ten steps; and a turn of more than half round goes back the short way.
  pose.orientation = FromRotationVector({0, 0, 1.5}) * home;
  for (int i = 0; i < 10; ++i) client::cube::Unturn(&pose, 0.05, tuning);
  EXPECT_NEAR(client::cube::AngleBetween(pose.orientation, expected), 0, 1e-6);
  pose.orientation = FromRotationVector({0, 0, 1.5 * kPi}) * home;  // = -0.5 pi
  client::cube::Unturn(&pose, 0.5, tuning);
  EXPECT_NEAR(client::cube::AngleBetween(
                  pose.orientation, FromRotationVector({0, 0, -0.5 * kPi / std::exp(1.0)}) * home),
              0, 1e-6);
  client::cube::Unturn(&pose, 100, tuning);
  EXPECT_NEAR(client::cube::AngleBetween(pose.orientation, home), 0, 1e-6);
}

TEST(CubeGeometryTest, ObliquenessTellsHowWellThreeFacesShow) {
  Pose pose;
  EXPECT_NEAR(client::cube::Obliqueness(pose), 0, kTolerance);  // one face
  pose.orientation = FromRotationVector({0, kPi / 4, 0});
  EXPECT_NEAR(client::cube::Obliqueness(pose), 0, kTolerance);  // two faces, edge on
  // Corner first: turn (1, 1, 1) onto the view axis, about (1, -1, 0) by acos(1/sqrt 3).
  const double angle = std::acos(1 / std::sqrt(3.0));
  pose.orientation = FromRotationVector((angle / std::sqrt(2.0)) * Vec3{1, -1, 0});
  EXPECT_NEAR(client::cube::Obliqueness(pose), 1 / std::sqrt(3.0), kTolerance);
  // The resting pose shows its front, top and right faces.
  EXPECT_GT(client::cube::Obliqueness(client::cube::HomePose()), 0.3);
}

}  // namespace
}  // namespace astro::testing
