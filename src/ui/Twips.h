#pragma once
// Window sizes and positions are kept in twips, as the settings files store them.
namespace tarvane {

inline constexpr int kTwipsPerPixel = 15;

} // namespace tarvane
