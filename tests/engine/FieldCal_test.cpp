// SPDX-License-Identifier: GPL-3.0-or-later
// The field node engine: the aberration, the mouse velocity filter, the reset (against the
// stepped pre-run it replaces), the per-tick aging, and the physics the table must show.
#include "engine/FieldCal.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "engine/SimulationState.h"

namespace {

constexpr double Pi = std::numbers::pi;

TFieldSimulation MakeSimulation(int iSize, int jSize) {
  TFieldSimulation sim;
  sim.InitNodes(iSize, jSize, ModelWidth);
  return sim;
}

void Tick(TFieldSimulation& sim, int iSize, int jSize, int waveFrontSpacing) {
  sim.UpdateEmitDirections(jSize);
  sim.AdvanceNodes(iSize, jSize, waveFrontSpacing);
}

// Angle a - b folded into (-pi, pi].
double AngleBetween(double a, double b) {
  return std::remainder(a - b, 2.0 * Pi);
}

TEST(FieldCalInit, SizesTablesAndRestDirections) {
  TFieldSimulation sim = MakeSimulation(200, 40);
  EXPECT_EQ(sim.WaveVelocity, 0.01);
  EXPECT_EQ(sim.InvWaveVelocity, 100.0);
  ASSERT_EQ(sim.Nodes.size(), 201u);
  for (const auto& row : sim.Nodes) ASSERT_EQ(row.size(), 41u);
  ASSERT_EQ(sim.RestDirections.size(), 41u);
  ASSERT_EQ(sim.EmitDirections.size(), 41u);
  EXPECT_EQ(sim.RestDirections[0].X, 1.0);
  EXPECT_EQ(sim.RestDirections[0].Y, 0.0);
  // Line JSize repeats the direction of line 0.
  EXPECT_NEAR(sim.RestDirections[40].X, 1.0, 1e-15);
  EXPECT_NEAR(sim.RestDirections[40].Y, 0.0, 1e-14);

  // A later size change keeps what fits and sizes every row.
  sim.InitNodes(100, 20, ModelWidth);
  ASSERT_EQ(sim.Nodes.size(), 101u);
  for (const auto& row : sim.Nodes) ASSERT_EQ(row.size(), 21u);
  EXPECT_EQ(sim.WaveVelocity, 0.02);
}

TEST(FieldCalAberration, AtRestTheDirectionsAreTheRestDirections) {
  TFieldSimulation sim = MakeSimulation(200, 4);
  sim.Beta = 0.0;
  sim.VelocityDir = {1.0, 0.0};
  sim.UpdateEmitDirections(4);
  for (int j = 0; j <= 4; ++j) {
    EXPECT_EQ(sim.EmitDirections[j].X, sim.RestDirections[j].X);
    EXPECT_EQ(sim.EmitDirections[j].Y, sim.RestDirections[j].Y);
    EXPECT_NEAR(AngleBetween(sim.EmitDirections[j].Angle, j * Pi / 2.0), 0.0, 1e-15);
  }
  // cos(pi/2) is about 6e-17: the straight-up rule gives exactly pi/2, straight down -pi/2.
  EXPECT_EQ(sim.EmitDirections[1].Angle, Pi / 2.0);
  EXPECT_EQ(sim.EmitDirections[3].Angle, -Pi / 2.0);

  // Below the rest threshold no aberration either.
  sim.Beta = 0.9e-6;
  sim.UpdateEmitDirections(4);
  EXPECT_EQ(sim.EmitDirections[1].Y, sim.RestDirections[1].Y);
}

TEST(FieldCalAberration, SpeedPointNineAlongX) {
  TFieldSimulation sim = MakeSimulation(200, 4);
  sim.Beta = 0.9;
  sim.VelocityDir = {1.0, 0.0};
  sim.UpdateEmitDirections(4);
  // Rest direction (0, 1): a' = 0.9, q' = 1 / gamma = sqrt(0.19).
  EXPECT_NEAR(sim.EmitDirections[1].X, 0.9, 1e-15);
  EXPECT_NEAR(sim.EmitDirections[1].Y, std::sqrt(0.19), 1e-15);
  EXPECT_NEAR(sim.EmitDirections[1].Y, 0.43589, 1e-5);
  // Along the motion and against it nothing turns.
  EXPECT_NEAR(sim.EmitDirections[0].X, 1.0, 1e-15);
  EXPECT_NEAR(sim.EmitDirections[2].X, -1.0, 1e-15);

  sim.LightAberration = false;
  sim.UpdateEmitDirections(4);
  EXPECT_EQ(sim.EmitDirections[1].X, sim.RestDirections[1].X);
  EXPECT_EQ(sim.EmitDirections[1].Y, sim.RestDirections[1].Y);
}

TEST(FieldCalAberration, DirectionsStayUnitAndCrowdForward) {
  const int jSize = 36;
  TFieldSimulation sim = MakeSimulation(100, jSize);
  const double betas[] = {0.1, 0.5, 0.9, 0.99, 0.9999, 1.0, 3.0};
  for (double motionAngle : {0.0, 0.7, 2.0, -2.5}) {
    const TVector2 u{std::cos(motionAngle), std::sin(motionAngle)};
    for (double beta : betas) {
      sim.Beta = beta;
      sim.VelocityDir = u;
      sim.UpdateEmitDirections(jSize);
      const double b = std::min(beta, 0.9999);
      for (int j = 0; j <= jSize; ++j) {
        const TEmitDirection& e = sim.EmitDirections[j];
        // Backward directions divide by 1 + b a, down to 1 - b: the rounding of a and b is
        // magnified by 1 / (1 + b a), 5000 at the capped speed.
        const TVector2 r = sim.RestDirections[j];
        const double magnification = 1.0 / (1.0 + b * (u.X * r.X + u.Y * r.Y));
        EXPECT_NEAR(std::hypot(e.X, e.Y), 1.0, 8.0 * DBL_EPSILON * magnification)
            << beta << " line " << j;
        EXPECT_NEAR(AngleBetween(e.Angle, std::atan2(e.Y, e.X)), 0.0, 1e-15);
      }
    }
    // A rest direction at right angles to the motion lands at arccos(beta) from it.
    sim.Beta = 0.9;
    sim.VelocityDir = u;
    const double restAngle = motionAngle + Pi / 2.0;
    sim.RestDirections[5] = {std::cos(restAngle), std::sin(restAngle)};
    sim.UpdateEmitDirections(jSize);
    const TEmitDirection& e = sim.EmitDirections[5];
    const double fromMotion = std::acos(e.X * u.X + e.Y * u.Y);
    EXPECT_NEAR(fromMotion, std::acos(0.9), 1e-14);
    EXPECT_NEAR(fromMotion * 180.0 / Pi, 25.84, 0.01);
    sim.InitNodes(100, jSize, ModelWidth);  // restore the rest directions
  }
}

TEST(FieldCalMouse, VelocityIsTheMeanOfFourTicks) {
  TFieldSimulation sim = MakeSimulation(200, 40);
  sim.ResetNodes(200, 40, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  for (int i = 0; i < 4; ++i) {
    sim.ChargePos.X += 0.005;
    sim.UpdateMouseVelocity(tmMouse);
  }
  EXPECT_NEAR(sim.Beta, 0.5, 1e-12);
  EXPECT_NEAR(sim.VelocityDir.X, 1.0, 1e-12);
  EXPECT_NEAR(sim.VelocityDir.Y, 0.0, 1e-12);
  // The charge stops: the old steps drop out one per tick.
  for (double expected : {0.375, 0.25, 0.125, 0.0}) {
    sim.UpdateMouseVelocity(tmMouse);
    EXPECT_NEAR(sim.Beta, expected, 1e-12);
  }
  EXPECT_EQ(sim.VelocityDir.X, 1.0);  // at rest the direction reads (1, 1)
  EXPECT_EQ(sim.VelocityDir.Y, 1.0);
}

TEST(FieldCalMouse, NeverMovedReadsRestAndOtherModesAreIgnored) {
  TFieldSimulation sim = MakeSimulation(200, 40);
  sim.ResetNodes(200, 40, {0.3, 0.1}, {0.0, 0.0}, ModelWidth, 5);
  sim.UpdateMouseVelocity(tmMouse);
  EXPECT_EQ(sim.Beta, 0.0);
  EXPECT_EQ(sim.VelocityDir.X, 1.0);
  EXPECT_EQ(sim.VelocityDir.Y, 1.0);

  sim.Beta = 0.7;
  sim.ChargePos.X += 0.1;
  sim.UpdateMouseVelocity(tmCircle);
  EXPECT_EQ(sim.Beta, 0.7);
  EXPECT_EQ(sim.StepHistoryX[0], 0.0);
}

TEST(FieldCalMouse, FastDragIsClampedButKeepsItsDirection) {
  TFieldSimulation sim = MakeSimulation(200, 40);
  sim.ResetNodes(200, 40, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  for (int i = 0; i < 4; ++i) {
    sim.ChargePos.X += 0.03;
    sim.ChargePos.Y += 0.04;
    sim.UpdateMouseVelocity(tmMouse);
  }
  EXPECT_EQ(sim.Beta, 0.9999);
  EXPECT_NEAR(sim.VelocityDir.X, 0.6, 1e-12);
  EXPECT_NEAR(sim.VelocityDir.Y, 0.8, 1e-12);
}

TEST(FieldCalMouse, ResetKeepsTheStepHistory) {
  TFieldSimulation sim = MakeSimulation(200, 40);
  sim.ResetNodes(200, 40, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  for (int i = 0; i < 4; ++i) {
    sim.ChargePos.X += 0.005;
    sim.UpdateMouseVelocity(tmMouse);
  }
  sim.ResetNodes(200, 40, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  sim.UpdateMouseVelocity(tmMouse);
  EXPECT_NEAR(sim.Beta, 0.375, 1e-12);
}

TEST(FieldCalReset, ChargeAtRestGivesRadialLines) {
  const int iSize = 200;
  const int jSize = 40;
  TFieldSimulation sim = MakeSimulation(iSize, jSize);
  sim.ResetNodes(iSize, jSize, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  EXPECT_EQ(sim.Beta, 0.0);
  EXPECT_EQ(sim.VelocityDir.X, 0.0);
  EXPECT_EQ(sim.VelocityDir.Y, 0.0);
  for (int j = 0; j <= jSize; ++j) {
    const double a = j * (2.0 * Pi / jSize);
    for (int r = 0; r < iSize; ++r) {
      const TFieldNode& n = sim.Nodes[r][j];
      EXPECT_NEAR(n.X, r * 0.01 * std::cos(a), 1e-13);
      EXPECT_NEAR(n.Y, r * 0.01 * std::sin(a), 1e-13);
      EXPECT_NEAR(n.Radius, r * 0.01, 1e-13);
    }
    const TFieldNode& tail = sim.Nodes[iSize][j];
    EXPECT_NEAR(tail.X, 5.99 * std::cos(a), 1e-12);
    EXPECT_NEAR(tail.Y, 5.99 * std::sin(a), 1e-12);
    EXPECT_EQ(tail.VX, 0.0);
    EXPECT_EQ(tail.VY, 0.0);
  }
  // Runs on along its line, which does not move: the tail stays, to the rounding of the sums
  // that aged rows are made of.
  const double tailX = sim.Nodes[iSize][3].X;
  Tick(sim, iSize, jSize, 5);
  EXPECT_NEAR(sim.Nodes[iSize][3].X, tailX, 1e-12);
}

TEST(FieldCalReset, UniformMotionArrivesAtTheStart) {
  TFieldSimulation sim = MakeSimulation(200, 8);
  sim.ResetNodes(200, 8, {0.25, -0.1}, {0.6, 0.8}, ModelWidth, 5);
  // ChargePos is accumulated over 200 ticks: rounding of 200 additions.
  EXPECT_NEAR(sim.ChargePos.X, 0.25, 1e-13);
  EXPECT_NEAR(sim.ChargePos.Y, -0.1, 1e-13);
  EXPECT_NEAR(sim.PrevChargePos.X, 0.25 - 0.006, 1e-13);
  EXPECT_NEAR(sim.PrevChargePos.Y, -0.1 - 0.008, 1e-13);
  EXPECT_EQ(sim.Beta, 1.0);
  EXPECT_NEAR(sim.VelocityDir.X, 0.6, 1e-15);
  // The newest row was emitted where the charge has arrived, as after any tick.
  EXPECT_NEAR(sim.Nodes[0][0].EmitX, 0.25, 1e-13);
  EXPECT_NEAR(sim.Nodes[1][0].EmitX, 0.25 - 0.006, 1e-13);
  EXPECT_NEAR(sim.Nodes[0][0].X, sim.Nodes[0][0].EmitX, 0.0);
}

TEST(FieldCalAdvance, NewRowsStartAtTheOriginWhenNotTracking) {
  TFieldSimulation sim = MakeSimulation(50, 8);
  sim.ResetNodes(50, 8, {0.4, 0.3}, {0.0, 0.0}, ModelWidth, 5);
  sim.TrackEmissionPoint = false;
  sim.ChargePos = {0.5, -0.2};
  Tick(sim, 50, 8, 5);
  for (int j = 0; j <= 8; ++j) {
    const TFieldNode& n = sim.Nodes[0][j];
    EXPECT_EQ(n.X, 0.0);
    EXPECT_EQ(n.Y, 0.0);
    EXPECT_EQ(n.EmitX, 0.0);
    EXPECT_EQ(n.EmitY, 0.0);
    EXPECT_EQ(n.Radius, 0.0);
    // The row emitted before still comes from where the charge was.
    EXPECT_EQ(sim.Nodes[1][j].EmitX, 0.4);
  }
}

TEST(FieldCalAdvance, RowsAgeByOneTick) {
  const int iSize = 30;
  const int jSize = 6;
  TFieldSimulation sim = MakeSimulation(iSize, jSize);
  sim.ResetNodes(iSize, jSize, {0.1, 0.2}, {0.5, -0.3}, ModelWidth, 4);
  const auto before = sim.Nodes;
  sim.ChargePos = {0.11, 0.19};
  Tick(sim, iSize, jSize, 4);
  const double w = sim.WaveVelocity;
  for (int j = 0; j <= jSize; ++j) {
    for (int r = 1; r < iSize; ++r) {
      const TFieldNode& was = before[r - 1][j];
      const TFieldNode& now = sim.Nodes[r][j];
      EXPECT_EQ(now.X, was.X + was.VX);
      EXPECT_EQ(now.Y, was.Y + was.VY);
      EXPECT_EQ(now.Radius, was.Radius + w);
      EXPECT_EQ(now.VX, was.VX);
      EXPECT_EQ(now.Angle, was.Angle);
      EXPECT_EQ(now.EmitX, was.EmitX);
      EXPECT_EQ(now.WaveFront, was.WaveFront);
    }
    // In uniform motion the line moves by its tail's velocity, and the tail with it.
    const TFieldNode& tail = sim.Nodes[iSize][j];
    EXPECT_NEAR(tail.X, before[iSize][j].X + before[iSize][j].VX, 1e-12);
    EXPECT_NEAR(tail.Y, before[iSize][j].Y + before[iSize][j].VY, 1e-12);
    EXPECT_EQ(tail.VX, before[iSize][j].VX);
    EXPECT_EQ(tail.WaveFront, before[iSize][j].WaveFront);
    const TFieldNode& newest = sim.Nodes[0][j];
    EXPECT_EQ(newest.X, 0.11);
    EXPECT_EQ(newest.EmitY, 0.19);
    EXPECT_EQ(newest.VX, w * sim.EmitDirections[j].X);
    EXPECT_EQ(newest.Angle, sim.EmitDirections[j].Angle);
  }
}

// Every tick, whatever the charge did, each line runs on 2 * ModelWidth beyond its oldest node
// along its last piece; in a model of two rows that piece ends at this tick's emission.
TEST(FieldCalAdvance, TheTailRunsOnAlongEachLinesLastPiece) {
  for (const int iSize : {2, 3, 30}) {
    const int jSize = 5;
    TFieldSimulation sim = MakeSimulation(iSize, jSize);
    sim.ResetNodes(iSize, jSize, {0.1, 0.2}, {0.5, -0.3}, ModelWidth, 1);
    for (int tick = 0; tick < 2 * iSize; ++tick) {
      // The emission point jumps back and forth every tick.
      sim.ChargePos = {0.1 + 0.01 * (tick % 2), 0.2 + 0.01 * ((tick + 1) % 2)};
      Tick(sim, iSize, jSize, 1);
      for (int j = 0; j <= jSize; ++j) {
        const TFieldNode& last = sim.Nodes[iSize - 1][j];
        const TFieldNode& before = sim.Nodes[iSize - 2][j];
        const double m = std::hypot(last.X - before.X, last.Y - before.Y);
        ASSERT_GT(m, 1e-6);
        const TFieldNode& tail = sim.Nodes[iSize][j];
        ASSERT_NEAR(tail.X, last.X + 2.0 * ModelWidth * (last.X - before.X) / m, 1e-12)
            << iSize << " rows, tick " << tick << " line " << j;
        ASSERT_NEAR(tail.Y, last.Y + 2.0 * ModelWidth * (last.Y - before.Y) / m, 1e-12)
            << iSize << " rows, tick " << tick << " line " << j;
      }
    }
  }
}

TEST(FieldCalAdvance, WaveFrontMarksMoveOutOneRowPerTick) {
  const int iSize = 200;
  TFieldSimulation sim = MakeSimulation(iSize, 4);
  sim.ResetNodes(iSize, 4, {0.0, 0.0}, {0.0, 0.0}, ModelWidth, 5);
  for (int tick = 0; tick <= 12; ++tick) {
    for (int r = 0; r < iSize; ++r) {
      for (int j = 0; j <= 4; ++j) {
        ASSERT_EQ(sim.Nodes[r][j].WaveFront, (r % 5 == tick % 5) ? 1 : 0)
            << "tick " << tick << " row " << r;
      }
    }
    Tick(sim, iSize, 4, 5);
  }
}

// The reset as the stepped pre-run: ISize ticks of a charge moving with initVel, each a step
// and then emission and aging, then the tail rule.
void SteppedReset(TFieldSimulation& sim, int iSize, int jSize, TVector2 s, TVector2 v,
                  double modelWidth, int waveFrontSpacing) {
  const double w = sim.WaveVelocity;
  const double speed = std::sqrt(v.X * v.X + v.Y * v.Y);
  sim.PrevChargePos = {s.X - iSize * w * v.X, s.Y - iSize * w * v.Y};
  sim.ChargePos = sim.PrevChargePos;
  sim.VelocityDir = speed > 1e-6 ? TVector2{v.X / speed, v.Y / speed} : TVector2{};
  sim.Beta = speed;
  for (int r = 0; r <= iSize; ++r) {
    for (int j = 0; j <= jSize; ++j) sim.Nodes[r][j].WaveFront = r % waveFrontSpacing == 0;
  }
  for (int tick = 0; tick < iSize; ++tick) {
    sim.ChargePos.X += w * v.X;
    sim.ChargePos.Y += w * v.Y;
    sim.UpdateEmitDirections(jSize);
    sim.AdvanceNodes(iSize, jSize, waveFrontSpacing);
  }
  sim.PrevChargePos = {sim.ChargePos.X - w * v.X, sim.ChargePos.Y - w * v.Y};
  for (int j = 0; j <= jSize; ++j) {
    const TFieldNode& a = sim.Nodes[iSize - 1][j];
    const TFieldNode& b = sim.Nodes[iSize - 2][j];
    const double dx = a.X - b.X;
    const double dy = a.Y - b.Y;
    const double m = std::sqrt(dx * dx + dy * dy);
    // Neighbours that coincide to rounding leave the tail where it was.
    const double rounding =
        64.0 * DBL_EPSILON * (std::fabs(a.X) + std::fabs(a.Y) + std::fabs(b.X) + std::fabs(b.Y));
    if (m > 1e-30 && m > rounding) {
      TFieldNode& tail = sim.Nodes[iSize][j];
      tail.X = a.X + 2.0 * modelWidth * dx / m;
      tail.Y = a.Y + 2.0 * modelWidth * dy / m;
      tail.VX = w * v.X;
      tail.VY = w * v.Y;
    }
  }
}

TEST(FieldCalReset, EqualsTheSteppedPreRun) {
  struct TSize {
    int ISize;
    int JSize;
  };
  const TSize sizes[] = {{2, 1}, {3, 4}, {7, 3}, {20, 8}, {33, 12}};
  const TVector2 velocities[] = {{0.0, 0.0}, {0.5, 0.0},  {-0.3, 0.7}, {0.0, -0.99},
                                 {1.0, 0.0}, {0.95, 0.0}, {1.5, 0.2},  {1e-7, 0.0}};
  int compared = 0;
  for (const TSize& size : sizes) {
    const int iSize = size.ISize;
    const int jSize = size.JSize;
    for (int spacing : {1, 2, 3, 5, iSize}) {
      if (spacing > iSize) continue;
      for (const TVector2& v : velocities) {
        for (int flags = 0; flags < 4; ++flags) {
          TFieldSimulation fast = MakeSimulation(iSize, jSize);
          fast.LightAberration = (flags & 1) != 0;
          fast.TrackEmissionPoint = (flags & 2) != 0;
          // A first reset gives the tail a velocity of its own, which the pre-run moves it by.
          fast.ResetNodes(iSize, jSize, {0.2, 0.1}, {0.3, -0.4}, ModelWidth, spacing);
          TFieldSimulation stepped = fast;
          const TVector2 start{-0.3, 0.45};
          fast.ResetNodes(iSize, jSize, start, v, ModelWidth, spacing);
          SteppedReset(stepped, iSize, jSize, start, v, ModelWidth, spacing);

          // The positions differ by the rounding of up to ISize additions against one
          // multiplication: a few ulps of coordinates of order 1.
          const double tol = 1e-12;
          SCOPED_TRACE(::testing::Message() << iSize << "x" << jSize << " spacing " << spacing
                                            << " v (" << v.X << ", " << v.Y << ") flags " << flags);
          EXPECT_NEAR(fast.ChargePos.X, stepped.ChargePos.X, tol);
          EXPECT_NEAR(fast.ChargePos.Y, stepped.ChargePos.Y, tol);
          EXPECT_NEAR(fast.PrevChargePos.X, stepped.PrevChargePos.X, tol);
          EXPECT_NEAR(fast.PrevChargePos.Y, stepped.PrevChargePos.Y, tol);
          EXPECT_EQ(fast.Beta, stepped.Beta);
          EXPECT_EQ(fast.VelocityDir.X, stepped.VelocityDir.X);
          EXPECT_EQ(fast.VelocityDir.Y, stepped.VelocityDir.Y);
          for (int r = 0; r <= iSize; ++r) {
            for (int j = 0; j <= jSize; ++j) {
              const TFieldNode& a = fast.Nodes[r][j];
              const TFieldNode& b = stepped.Nodes[r][j];
              // The tail lies 2 * ModelWidth along the unit vector of the last piece of its
              // line, whose length m can be small (lines almost moving with the charge): the
              // position rounding is magnified by 2 * ModelWidth / m.
              double posTol = tol;
              if (r == iSize) {
                const TFieldNode& p = stepped.Nodes[iSize - 1][j];
                const TFieldNode& q = stepped.Nodes[iSize - 2][j];
                const double m = std::hypot(p.X - q.X, p.Y - q.Y);
                // A line moving with the charge at the wave speed has every node at one
                // point and no direction to run on in: its tail stays where the ticks before
                // left it, which the reset does not replay tick by tick.
                if (!(m > 1e-9)) continue;
                posTol += 2.0 * ModelWidth * tol / m;
              }
              ASSERT_NEAR(a.X, b.X, posTol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.Y, b.Y, posTol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.VX, b.VX, tol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.VY, b.VY, tol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.Angle, b.Angle, tol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.Radius, b.Radius, tol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.EmitX, b.EmitX, tol) << "row " << r << " line " << j;
              ASSERT_NEAR(a.EmitY, b.EmitY, tol) << "row " << r << " line " << j;
              ASSERT_EQ(a.WaveFront, b.WaveFront) << "row " << r << " line " << j;
            }
          }
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 400);
}

// Physics: a charge that keeps the velocity it was reset with radiates nothing, so its field
// lines stay straight rays from its present position however many ticks it runs on; each row was
// emitted where the charge's history puts it that many ticks ago. Rows that lag the charge by a
// step bend every line where the first tick's rows meet the reset's.
TEST(FieldCalPhysics, MotionKeptAfterAResetShowsNoKink) {
  const int iSize = 100;
  const int jSize = 12;
  for (const TVector2 v : {TVector2{0.9, 0.0}, TVector2{0.3, -0.5}, TVector2{0.0, 0.0}}) {
    TFieldSimulation sim = MakeSimulation(iSize, jSize);
    sim.ResetNodes(iSize, jSize, {-0.9, 0.05}, v, ModelWidth, 5);
    const double w = sim.WaveVelocity;
    for (int tick = 1; tick <= 30; ++tick) {
      sim.ChargePos.X += w * v.X;
      sim.ChargePos.Y += w * v.Y;
      sim.AdvanceCharge();
      Tick(sim, iSize, jSize, 5);
      SCOPED_TRACE(::testing::Message() << "v (" << v.X << ", " << v.Y << ") tick " << tick);
      for (int r = 0; r < iSize; ++r) {
        const TVector2 then = sim.ChargeHistory(r).Pos;
        ASSERT_NEAR(sim.Nodes[r][0].EmitX, then.X, 1e-12) << "row " << r;
        ASSERT_NEAR(sim.Nodes[r][0].EmitY, then.Y, 1e-12) << "row " << r;
      }
      for (int j = 0; j < jSize; ++j) {
        // Every node on the ray from the charge through the line's outermost node.
        const TFieldNode& far = sim.Nodes[iSize - 1][j];
        const double fx = far.X - sim.ChargePos.X;
        const double fy = far.Y - sim.ChargePos.Y;
        const double length = std::hypot(fx, fy);
        for (int r = 1; r < iSize - 1; ++r) {
          const TFieldNode& n = sim.Nodes[r][j];
          const double off = (fx * (n.Y - sim.ChargePos.Y) - fy * (n.X - sim.ChargePos.X)) / length;
          ASSERT_NEAR(off, 0.0, 1e-12) << "line " << j << " row " << r;
        }
      }
    }
  }
}

// Physics: the field of a charge in uniform motion is its Coulomb field contracted along the
// motion. Seen from the charge's present position, the line emitted at rest-frame angle theta
// from the motion is a straight ray at angle psi with tan psi = gamma tan theta.
TEST(FieldCalPhysics, UniformMotionGivesTheContractedField) {
  const int iSize = 200;
  const int jSize = 24;
  for (double beta : {0.0, 0.3, 0.8, 0.95, 0.99}) {
    for (double motionAngle : {0.0, 0.5, Pi / 2.0, 2.7, -1.9}) {
      TFieldSimulation sim = MakeSimulation(iSize, jSize);
      const TVector2 u{std::cos(motionAngle), std::sin(motionAngle)};
      const TVector2 start{0.1, -0.05};
      sim.ResetNodes(iSize, jSize, start, {beta * u.X, beta * u.Y}, ModelWidth, 5);
      const double gamma = 1.0 / std::sqrt(1.0 - beta * beta);
      const TFieldNode& origin = sim.Nodes[0][0];  // the newest emission point, all lines
      for (int j = 0; j <= jSize; ++j) {
        const TVector2 r = sim.RestDirections[j];
        const double theta = std::atan2(u.X * r.Y - u.Y * r.X, u.X * r.X + u.Y * r.Y);
        const double psi = std::atan2(gamma * std::sin(theta), std::cos(theta));
        for (int row = 1; row < iSize; ++row) {
          const TFieldNode& n = sim.Nodes[row][j];
          const double dx = n.X - origin.X;
          const double dy = n.Y - origin.Y;
          const double along = dx * u.X + dy * u.Y;
          const double across = u.X * dy - u.Y * dx;
          // Measured from coordinate differences of order 1 with a few ulps each, divided by
          // the distance from the ray's origin (as small as 1e-4 for the forward line at 0.99).
          const double tol = 1e-13 + 16.0 * DBL_EPSILON * 4.0 / std::hypot(along, across);
          ASSERT_NEAR(AngleBetween(std::atan2(across, along), psi), 0.0, tol)
              << "beta " << beta << " motion " << motionAngle << " line " << j << " row " << row;
        }
      }
    }
  }
}

// Physics: after the charge stops, the lines emitted since then run radially from the stopping
// point, the older part keeps the rays of the moving charge, and the kink between them has
// moved out at the wave speed.
TEST(FieldCalPhysics, StoppingChargeSendsOutAKinkAtTheWaveSpeed) {
  const int iSize = 200;
  const int jSize = 16;
  const double beta = 0.6;
  const double w = ModelWidth / iSize;
  for (int stoppedTicks : {10, 40, 120}) {
    TFieldSimulation sim = MakeSimulation(iSize, jSize);
    const TVector2 v{beta, 0.0};
    sim.ResetNodes(iSize, jSize, {-0.5, 0.0}, v, ModelWidth, 5);
    // The reset has emitted at the start; each tick moves the charge, then emits.
    for (int tick = 0; tick < 30; ++tick) {
      sim.ChargePos.X += w * v.X;
      Tick(sim, iSize, jSize, 5);
    }
    const TVector2 stop = sim.ChargePos;
    sim.Beta = 0.0;
    for (int tick = 0; tick < stoppedTicks; ++tick) Tick(sim, iSize, jSize, 5);
    // Where the charge would be now had it kept moving: the origin of the old rays.
    const TVector2 ahead{stop.X + stoppedTicks * w * beta, stop.Y};
    const double gamma = 1.0 / std::sqrt(1.0 - beta * beta);

    for (int j = 0; j <= jSize; ++j) {
      const TVector2 r = sim.RestDirections[j];
      if (std::fabs(r.Y) < 1e-9) continue;  // along the motion both parts lie on the x axis
      const double psi = std::atan2(gamma * r.Y, r.X);
      int kinkRow = -1;
      for (int row = 1; row < iSize; ++row) {
        const TFieldNode& n = sim.Nodes[row][j];
        const double radial =
            AngleBetween(std::atan2(n.Y - stop.Y, n.X - stop.X), std::atan2(r.Y, r.X));
        const double moving = AngleBetween(std::atan2(n.Y - ahead.Y, n.X - ahead.X), psi);
        if (row < stoppedTicks) {
          ASSERT_NEAR(radial, 0.0, 1e-11) << "line " << j << " row " << row;
        } else {
          ASSERT_NEAR(moving, 0.0, 1e-11) << "line " << j << " row " << row;
          if (kinkRow < 0 && std::fabs(radial) > 1e-9) kinkRow = row;
        }
      }
      ASSERT_GE(kinkRow, 0) << "line " << j;
      const TFieldNode& kink = sim.Nodes[kinkRow][j];
      const double distance = std::hypot(kink.X - stop.X, kink.Y - stop.Y);
      EXPECT_NEAR(distance, stoppedTicks * w, w) << "line " << j;
    }
  }
}

}  // namespace
