// The user's regional settings, as far as the number text needs them.
#pragma once

namespace zeigora {

// The decimal separator of the system locale as a Windows-1252 byte; ',' when the locale's
// separator has no single byte or could be mistaken for part of a number.
char LocaleDecimalSeparator();

// Called once at start-up by the programs, before any number is shown or read.
void InitNumberTextFromLocale();

}  // namespace zeigora
