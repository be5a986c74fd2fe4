#pragma once

// The project's own addresses, as the About page opens and shows them. The
// README lists the same.
namespace aboutlinks {

// The help page online; the program opens its own copy (see HelpWindow).
inline constexpr const char* kHelpPage = "http://welvane.github.io/welvane/help.html";
inline constexpr const char* kFaqAnchor = "FAQ";
// Shown as the row's detail, too.
inline constexpr const char* kSupportPage = "http://welvane.github.io/";
// Its body is the address of the current overview video.
inline constexpr const char* kVideoPage = "http://welvane.github.io/welvane/video.html";
inline constexpr const char* kFallbackVideo = "https://youtu.be/welvaneTour";
inline constexpr const char* kSocialPage = "https://www.facebook.com/welvane.app";
// Shown as the detail of "Provide Feedback".
inline constexpr const char* kFeedbackAddress = "hi@welvane.org";

} // namespace aboutlinks
