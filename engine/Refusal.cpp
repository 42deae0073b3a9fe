// SPDX-License-Identifier: GPL-3.0-or-later
// The names of the refusal codes and parameters, and the text of a refusal's values.
#include "engine/Refusal.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

const char* RefusalCodeName(TRefusalCode code) {
  switch (code) {
#define HALVORAN_NAME_CASE(name) \
  case TRefusalCode::name:       \
    return #name;
    HALVORAN_REFUSAL_CODES(HALVORAN_NAME_CASE)
#undef HALVORAN_NAME_CASE
  }
  return "";
}

const char* ParameterName(TParameter parameter) {
  switch (parameter) {
#define HALVORAN_NAME_CASE(name) \
  case TParameter::name:         \
    return #name;
    HALVORAN_PARAMETERS(HALVORAN_NAME_CASE)
#undef HALVORAN_NAME_CASE
  }
  return "";
}

namespace {

std::string Printed(const char* format, double v) {
  char text[64];
  std::snprintf(text, sizeof text, format, v);
  return text;
}

std::string NumberText(double v) {
  const double a = std::fabs(v);
  if (!(a == 0.0 || (a >= 0.001 && a < 1e7))) return Printed("%.2E", v);
  const std::string three = Printed("%.3f", v);
  // Three decimals unless they would show another number than the six significant digits do: a
  // speed of 0.99995 refused as "1.000" would read as if 1 had been typed.
  const std::string six = Printed("%.6g", v);
  if (std::strtod(three.c_str(), nullptr) == std::strtod(six.c_str(), nullptr)) return three;
  return six;
}

}  // namespace

std::string RefusalValueText(const TRefusalValue& value) {
  switch (value.Kind) {
    case TRefusalValue::TKind::Number:
      if (!std::isfinite(value.Number)) return {};
      return NumberText(value.Number);
    case TRefusalValue::TKind::Count:
      if (std::fabs(value.Count) < 1e7) return Printed("%.0f", value.Count);
      return Printed("%.2E", value.Count);
    case TRefusalValue::TKind::Text:
      return value.Text;
  }
  return {};
}

const char* NonFiniteWord(const TRefusalValue& value) {
  if (value.Kind != TRefusalValue::TKind::Number) return "";
  if (std::isnan(value.Number)) return "not a number";
  if (std::isinf(value.Number)) return value.Number > 0 ? "infinity" : "minus infinity";
  return "";
}
