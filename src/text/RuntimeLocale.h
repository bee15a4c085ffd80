#pragma once

// text: the Windows-1252 codec and the number and date formatting and scanning of the
// program's runtime locale, written to behave as the Windows C runtime did. Plain C++ with the
// standard library only; every other folder may use it, it uses none.

namespace kalkora::text {

// The program behaves like the Windows C runtime it was first written for: one process-wide
// locale, the default ("C") one unless switched. The desktop program switches to German at its
// start, the command-line tool as its options say. Every formatting and scanning function of
// this folder follows it.
enum class RuntimeLocale { Default, German };

RuntimeLocale runtimeLocale();
void setRuntimeLocale(RuntimeLocale locale);

// Decimal separator of the current runtime locale: '.' or ','.
char decimalSeparator();

} // namespace kalkora::text
