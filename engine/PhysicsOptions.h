// SPDX-License-Identifier: GPL-3.0-or-later
// The physics options of the field node engine, as the user switches them, and their defaults:
// everything on, the model as exact as it goes.
#pragma once

struct TPhysicsOptions {
  // Emission directions isotropic in the charge's rest frame, crowded forward in the plot:
  // cos q' = (cos q + β) / (1 + β cos q).
  bool LightAberration = true;
  // Each node starts from where the charge was when it was emitted, not from where it is now.
  bool TrackEmissionPoint = true;
  // The rest-frame directions turn with the rest frame that successive boosts reach.
  bool ThomasPrecession = true;

  friend bool operator==(const TPhysicsOptions&, const TPhysicsOptions&) = default;
};

constexpr TPhysicsOptions DefaultPhysicsOptions{};
