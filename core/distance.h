#pragma once

namespace localyx {

/// Value returned by CalcDistance when the computation fails.
inline constexpr double kDistanceFailure = -9999.0;

/// Great-circle distance over a sphere whose great circle is 40,030,218 m,
/// by the spherical law of cosines with the program's historical constants
/// (57.295779518 degrees per radian, 1.570796 for a quarter turn), so results
/// run about 2 m short of the exact arc: that offset is intended.
///
/// @param lon1, lat1, lon2, lat2  decimal degrees; only |lon1 - lon2| counts,
///        so either longitude sign convention works if both points share it.
/// @return kilometres, unrounded (identical points may give a tiny negative
///         value); exactly kDistanceFailure (-9999) when any step fails:
///         a non-finite input or intermediate, a negative square root, a
///         division by zero. Symmetric bit for bit in its two points.
double CalcDistance(double lon1, double lat1, double lon2, double lat2);

}  // namespace localyx
