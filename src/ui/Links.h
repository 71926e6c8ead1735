// Links.h — the author's web page and mail link, and the shorter texts their labels show.
#pragma once

namespace quarn::ui {

inline constexpr const char* WebLink = "http://quarn.example.org/";
inline constexpr const char* WebLabel = "quarn.example.org";  // the site part of WebLink
inline constexpr const char* MailLink = "mailto:autor@quarn.example.org?subject=Quarn";
inline constexpr const char* MailTip = "mailto:autor@quarn.example.org";
inline constexpr const char* CreditLine = "© tým Quarn";

}  // namespace quarn::ui
