// SPDX-License-Identifier: GPL-3.0-or-later
// The observer's CSV text: one row per received sample with the values the trace holds, the
// samples left out missing, the rows gathered tick by tick the same as those of a trace long
// enough to hold them, and the spectrum's harmonics only where the path has a fundamental.
#include "engine/ObserverCsv.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "engine/SimulationCommands.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// The fields of a line, an empty one where two commas meet.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (const char c : line) {
    if (c == ',')
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

double Read(const std::string& text) {
  std::istringstream stream(text);
  stream.imbue(std::locale::classic());
  double v = NAN;
  stream >> v;
  EXPECT_TRUE(stream.eof() && !stream.fail()) << "'" << text << "'";
  return v;
}

// A circle run with the eye shown in its plane, traceTicks long.
struct TEyeOnCircle {
  TSimulationState State;
  TDisplaySettings Display;
  TSimulationCommands Commands{State, Display};

  explicit TEyeOnCircle(int traceTicks) {
    EXPECT_FALSE(Commands.Start());
    EXPECT_FALSE(Commands.ChooseTrajectory(tmCircle, Commands.Trajectory()));
    TDisplaySettings display = Commands.Display();
    display.Observer.Shown = true;
    display.Observer.Place = {0.9, 0.0};
    display.Observer.TraceTicks = traceTicks;
    EXPECT_FALSE(Commands.SetDisplay(display));
  }
};

TEST(ObserverCsv, EveryReceivedSampleIsARowOfItsValuesAndTheOthersAreLeftOut) {
  // Light crosses the plot's 2 u in ISize = 200 ticks: from the circle to the eye 0.7 .. 1.1 u
  // away it takes 70 .. 110 ticks, and what arrives before was sent before the reset.
  TEyeOnCircle run(256);
  for (int tick = 0; tick < 200; ++tick) run.Commands.RunTick();
  const TObserverTrace& trace = run.State.ObserverTrace;
  ASSERT_GT(trace.BeforeResetCount(), 0);
  const std::vector<std::string> lines = Lines(ObserverTraceCsv(trace, 0.0, 1e9));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0] + "\n", ObserverTraceCsvHeader);
  std::vector<const TObserverSample*> received;
  for (int i = 0; i < trace.Count(); ++i)
    if (trace[i].Kind == TObserverSampleKind::Received) received.push_back(&trace[i]);
  ASSERT_GT(received.size(), 100u);
  ASSERT_EQ(lines.size(), received.size() + 1);
  bool fractional = false;
  for (std::size_t r = 0; r < received.size(); ++r) {
    const std::vector<std::string> fields = Fields(lines[r + 1]);
    ASSERT_EQ(fields.size(), 7u) << lines[r + 1];
    const TObserverSample& s = *received[r];
    const double want[] = {s.Tick,    s.Charge.X,    s.Charge.Y,   s.Field.X,
                           s.Field.Y, s.Radiation.X, s.Radiation.Y};
    for (std::size_t k = 0; k < 7; ++k) {
      const double got = Read(fields[k]);
      EXPECT_NEAR(got, want[k], 1e-8 * std::max(1.0, std::fabs(want[k]))) << lines[r + 1];
    }
    fractional = fractional || Read(fields[0]) != std::floor(Read(fields[0]));
  }
  EXPECT_TRUE(fractional) << "the samples between ticks keep their eighths";
}

TEST(ObserverCsv, TheRangeOfTicksIsInclusive) {
  TEyeOnCircle run(ObserverTraceTicksMin);
  for (int tick = 0; tick < 200; ++tick) run.Commands.RunTick();
  const std::vector<std::string> lines = Lines(ObserverTraceCsv(run.State.ObserverTrace, 150, 152));
  // Ticks 150, 150 1/8 .. 152: two ticks of eight samples and the one at 150, all received.
  ASSERT_EQ(lines.size(), 1u + 2 * ObserverSubTicks + 1);
  EXPECT_EQ(Read(Fields(lines[1])[0]), 150.0);
  EXPECT_EQ(Read(Fields(lines.back())[0]), 152.0);
}

// A trace of 64 ticks taken every tick (or every few, within its length) gives the rows a trace
// of all the ticks holds, each once.
TEST(ObserverCsv, RowsGatheredAsTheTicksRunAreThoseOfAWholeTrace) {
  constexpr int Ticks = 300;
  TEyeOnCircle whole(ObserverTraceTicksMax);
  for (int tick = 0; tick < Ticks; ++tick) whole.Commands.RunTick();
  const std::string expected = ObserverTraceCsv(whole.State.ObserverTrace, 0, Ticks);
  for (const int every : {1, 5, ObserverTraceTicksMin}) {
    SCOPED_TRACE(every);
    TEyeOnCircle run(ObserverTraceTicksMin);
    TObserverTraceRows rows;
    for (int tick = 1; tick <= Ticks; ++tick) {
      run.Commands.RunTick();
      if (tick % every == 0) rows.Take(run.State.ObserverTrace);
    }
    rows.Take(run.State.ObserverTrace);
    rows.Take(run.State.ObserverTrace);  // nothing new: nothing added
    EXPECT_EQ(rows.Text(), expected);
  }
  EXPECT_GT(Lines(expected).size(), static_cast<std::size_t>(Ticks * ObserverSubTicks / 2));
  // The offset moves every tick and nothing else.
  TEyeOnCircle run(ObserverTraceTicksMin);
  for (int tick = 0; tick < 150; ++tick) run.Commands.RunTick();
  TObserverTraceRows plain, shifted(100.0);
  plain.Take(run.State.ObserverTrace);
  shifted.Take(run.State.ObserverTrace);
  const std::vector<std::string> a = Lines(plain.Text()), b = Lines(shifted.Text());
  ASSERT_EQ(a.size(), b.size());
  ASSERT_GT(a.size(), 1u);
  for (std::size_t i = 1; i < a.size(); ++i) {
    EXPECT_EQ(Read(Fields(b[i])[0]), Read(Fields(a[i])[0]) + 100.0);
    EXPECT_EQ(Fields(b[i])[3], Fields(a[i])[3]);
  }
}

TEST(ObserverCsv, HarmonicsOnlyWhereThePathHasAFundamental) {
  TObserverSpectrum spectrum;
  spectrum.Frequency = {0.0, 0.125, 0.25};
  spectrum.Power = {0.5, 1.0, 1.0 / 3.0};
  struct TRow {
    std::optional<double> Fundamental;
    std::vector<std::string> Lines;
  };
  const TRow rows[] = {
      {0.125, {"frequency,harmonic,power", "0,0,0.5", "0.125,1,1", "0.25,2,0.333333333"}},
      {std::nullopt, {"frequency,harmonic,power", "0,,0.5", "0.125,,1", "0.25,,0.333333333"}},
  };
  for (const TRow& row : rows) {
    spectrum.Fundamental = row.Fundamental;
    EXPECT_EQ(Lines(ObserverSpectrumCsv(spectrum)), row.Lines);
  }
}

// The desktop runs in the user's locale, whose decimal point may be a comma.
TEST(ObserverCsv, ThePointIsAPointInAnyLocale) {
  const std::string was = std::setlocale(LC_NUMERIC, nullptr);
  bool comma = false;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
      comma = true;
      break;
    }
  }
  TObserverSpectrum spectrum;
  spectrum.Frequency = {0.375};
  spectrum.Power = {0.5};
  spectrum.Fundamental = 0.25;
  const std::string csv = ObserverSpectrumCsv(spectrum);
  std::setlocale(LC_NUMERIC, was.c_str());
  if (!comma) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(csv, "frequency,harmonic,power\n0.375,1.5,0.5\n");
}

}  // namespace
