#pragma once

// Where users reach the program's author: shown by the about box and in the crash report.
inline constexpr char SupportAddress[] = "support@quirelle.invalid";
inline constexpr char WebPageAddress[] = "https://quirelle.invalid/";
